// The mouse through DirectInput 3: the system mouse, exclusive while the game
// window is in the foreground, read as relative motion once a frame.
#include "platform/win32/win32.h"

#define DIRECTINPUT_VERSION 0x0300
#include <dinput.h>

#include <cstring>

namespace {

constexpr DWORD WIN_MOUSE_BUFFER_SIZE = 16;

struct WinMouse {
    IDirectInputA* input;
    IDirectInputDeviceA* device;
    HANDLE event;  // told of mouse input; nothing waits on it
};

WinMouse mouse;

}  // namespace

static_assert(sizeof(DIMOUSESTATE) == sizeof(PlatMouseState));

int32_t platMouseOpen() {
    winMouseClose();
    HRESULT result = DirectInputCreateA(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, &mouse.input, nullptr);
    if (result < 0) {
        mouse.input = nullptr;
        return result;
    }
    result = mouse.input->CreateDevice(GUID_SysMouse, &mouse.device, nullptr);
    if (result < 0) {
        mouse.device = nullptr;
        return result;
    }
    result = mouse.device->SetDataFormat(&c_dfDIMouse);
    if (result >= 0) result = mouse.device->SetCooperativeLevel(winMainWindow(), DISCL_EXCLUSIVE | DISCL_FOREGROUND);
    if (result < 0) return result;
    mouse.event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!mouse.event) return DIERR_GENERIC;
    result = mouse.device->SetEventNotification(mouse.event);
    if (result < 0) return result;
    DIPROPDWORD size = {};
    size.diph.dwSize = sizeof size;
    size.diph.dwHeaderSize = sizeof size.diph;
    size.diph.dwObj = 0;
    size.diph.dwHow = DIPH_DEVICE;
    size.dwData = WIN_MOUSE_BUFFER_SIZE;
    result = mouse.device->SetProperty(DIPROP_BUFFERSIZE, &size.diph);
    if (result < 0) return result;
    // Already in the foreground: take the mouse now rather than at the first read.
    if (GetForegroundWindow() == winMainWindow()) mouse.device->Acquire();
    return DI_OK;
}

int32_t platMouseRead(PlatMouseState* state) {
    if (!mouse.device) return DIERR_NOTACQUIRED;
    DIMOUSESTATE read = {};
    const HRESULT result = mouse.device->GetDeviceState(sizeof read, &read);
    if (result < 0) return result;
    std::memcpy(state, &read, sizeof read);
    return DI_OK;
}

int32_t platMouseAcquire() {
    if (!mouse.device) return DIERR_NOTACQUIRED;
    return mouse.device->Acquire();
}

void winMouseFocus(bool focused) {
    if (!mouse.device) return;
    if (focused) {
        mouse.device->Acquire();
    } else {
        mouse.device->Unacquire();
    }
}

void winMouseClose() {
    if (mouse.device) {
        mouse.device->Unacquire();
        mouse.device->SetEventNotification(nullptr);
        mouse.device->Release();
    }
    if (mouse.input) mouse.input->Release();
    if (mouse.event) CloseHandle(mouse.event);
    mouse = WinMouse{};
}
