#include "video/dxresults.h"

#include <cstdio>
#include <cstring>

#include "Core/cmdebug.h"

namespace {

constexpr int32_t dd(uint32_t number) { return static_cast<int32_t>(0x88760000u + number); }
constexpr int32_t hr(uint32_t value) { return static_cast<int32_t>(value); }

}  // namespace

// Ascending by code as an unsigned number.
const VidResultText vidDisplayResults[VID_DISPLAY_RESULT_COUNT] = {
    {0, "[DD_OK] The request completed successfully."},
    {hr(0x80004001), "[DDERR_UNSUPPORTED] The operation is not supported."},
    {hr(0x80004005), "[DDERR_GENERIC] An undefined error condition occurred."},
    {hr(0x800401F0), "[DDERR_NOTINITIALIZED] A method was called on an object that was created with CoCreateInstance before the object's Initialize method was called."},
    {hr(0x8007000E), "[DDERR_OUTOFMEMORY] DirectDraw does not have enough memory to carry out the operation."},
    {hr(0x80070057), "[DDERR_INVALIDPARAMS] One or more of the parameters passed to the method are not correct."},
    {dd(5), "[DDERR_ALREADYINITIALIZED] The object has been initialized already."},
    {dd(10), "[DDERR_CANNOTATTACHSURFACE] A surface cannot be attached to the surface that was asked for."},
    {dd(20), "[DDERR_CANNOTDETACHSURFACE] A surface cannot be detached from the surface that was asked for."},
    {dd(40), "[DDERR_CURRENTLYNOTAVAIL] There is no support for the operation at this time."},
    {dd(55), "[DDERR_EXCEPTION] An exception occurred while the operation was being carried out."},
    {dd(90), "[DDERR_HEIGHTALIGN] The height of the rectangle given is not a multiple of the alignment that the hardware needs."},
    {dd(95), "[DDERR_INCOMPATIBLEPRIMARY] The primary surface that was asked for does not match the primary surface that already exists."},
    {dd(100), "[DDERR_INVALIDCAPS] One or more of the capability bits passed to the method are not correct."},
    {dd(110), "[DDERR_INVALIDCLIPLIST] DirectDraw does not support the clip list given."},
    {dd(120), "[DDERR_INVALIDMODE] DirectDraw does not support the display mode asked for."},
    {dd(130), "[DDERR_INVALIDOBJECT] DirectDraw received a pointer to an object that is not a valid DirectDraw object."},
    {dd(145), "[DDERR_INVALIDPIXELFORMAT] The pixel format given is not valid."},
    {dd(150), "[DDERR_INVALIDRECT] The rectangle given is not valid."},
    {dd(160), "[DDERR_LOCKEDSURFACES] The operation cannot go on because one or more surfaces are locked."},
    {dd(170), "[DDERR_NO3D] No 3-D hardware or emulation is present."},
    {dd(180), "[DDERR_NOALPHAHW] No alpha-accelerating hardware is present or available, so the operation asked for failed."},
    {dd(205), "[DDERR_NOCLIPLIST] No clip list is available."},
    {dd(210), "[DDERR_NOCOLORCONVHW] No colour-conversion hardware is present or available, so the operation failed."},
    {dd(212), "[DDERR_NOCOOPERATIVELEVELSET] A create function was called before IDirectDraw::SetCooperativeLevel had set the cooperative level."},
    {dd(215), "[DDERR_NOCOLORKEY] The surface does not have a colour key at present."},
    {dd(220), "[DDERR_NOCOLORKEYHW] The operation failed because there is no hardware support for the destination colour key."},
    {dd(222), "[DDERR_NODIRECTDRAWSUPPORT] The current display driver does not support DirectDraw."},
    {dd(225), "[DDERR_NOEXCLUSIVEMODE] The operation needs exclusive mode, but the application does not have it."},
    {dd(230), "[DDERR_NOFLIPHW] Flipping visible surfaces is not supported."},
    {dd(240), "[DDERR_NOGDI] No GDI is present."},
    {dd(250), "[DDERR_NOMIRRORHW] The operation failed because no mirroring hardware is present or available."},
    {dd(255), "[DDERR_NOTFOUND] The item asked for was not found."},
    {dd(260), "[DDERR_NOOVERLAYHW] The operation failed because no overlay hardware is present or available."},
    {dd(280), "[DDERR_NORASTEROPHW] The operation failed because no suitable raster-operation hardware is present or available."},
    {dd(290), "[DDERR_NOROTATIONHW] The operation failed because no rotation hardware is present or available."},
    {dd(310), "[DDERR_NOSTRETCHHW] The operation failed because no hardware support for stretching is present or available."},
    {dd(316), "[DDERR_NOT4BITCOLOR] The surface is not a 4-bit palette-indexed surface, but the operation needs one."},
    {dd(317), "[DDERR_NOT4BITCOLORINDEX] The surface is not a 4-bit surface indexed into an 8-bit palette, but the operation needs one."},
    {dd(320), "[DDERR_NOT8BITCOLOR] The operation needs an 8-bit colour palette, and the surface does not have one."},
    {dd(330), "[DDERR_NOTEXTUREHW] The operation failed because no texture-mapping hardware is present or available."},
    {dd(335), "[DDERR_NOVSYNCHW] The operation failed because there is no hardware support for the vertical blank."},
    {dd(340), "[DDERR_NOZBUFFERHW] No hardware support for a z-buffer is present, so the z-buffer could not be created in display memory."},
    {dd(350), "[DDERR_NOZOVERLAYHW] The overlay surfaces cannot be z-layered by their z-order because the hardware does not support it."},
    {dd(360), "[DDERR_OUTOFCAPS] The hardware needed for the operation has already been handed out to others."},
    {dd(380), "[DDERR_OUTOFVIDEOMEMORY] DirectDraw does not have enough display memory left to carry out the operation."},
    {dd(382), "[DDERR_OVERLAYCANTCLIP] The hardware cannot clip an overlay."},
    {dd(384), "[DDERR_OVERLAYCOLORKEYONLYONEACTIVE] More than one colour key was to be active on an overlay, and only one is allowed."},
    {dd(387), "[DDERR_PALETTEBUSY] Access to the palette is refused because another thread holds a lock on it."},
    {dd(400), "[DDERR_COLORKEYNOTSET] No source colour key has been set for the operation."},
    {dd(410), "[DDERR_SURFACEALREADYATTACHED] The surface could not be attached because it is attached to the target already."},
    {dd(420), "[DDERR_SURFACEALREADYDEPENDENT] A surface was to be made a dependency of another surface that it depends on already."},
    {dd(430), "[DDERR_SURFACEBUSY] Access to the surface is refused because another thread holds a lock on it."},
    {dd(435), "[DDERR_CANTLOCKSURFACE] Access to the surface is refused because the surface belongs to the primary and DCI support is missing."},
    {dd(440), "[DDERR_SURFACEISOBSCURED] Access to the surface is refused because the surface is hidden behind something."},
    {dd(450), "[DDERR_SURFACELOST] Access to the surface is refused because the surface memory is gone. Call the IDirectDrawSurface4::Restore method on this surface to restore the memory associated with it."},
    {dd(460), "[DDERR_SURFACENOTATTACHED] The surface asked for is not attached."},
    {dd(470), "[DDERR_TOOBIGHEIGHT] The height asked for by DirectDraw is too large."},
    {dd(480), "[DDERR_TOOBIGSIZE] The size asked for by DirectDraw is too large, although each of the height and the width alone may be acceptable."},
    {dd(490), "[DDERR_TOOBIGWIDTH] The width asked for by DirectDraw is too large."},
    {dd(510), "[DDERR_UNSUPPORTEDFORMAT] DirectDraw does not support the FourCC format given."},
    {dd(520), "[DDERR_UNSUPPORTEDMASK] DirectDraw does not support the bitmask in the pixel format given."},
    {dd(537), "[DDERR_VERTICALBLANKINPROGRESS] A vertical blank is in progress."},
    {dd(540), "[DDERR_WASSTILLDRAWING] The previous blit operation that is moving data to or from this surface has not finished."},
    {dd(560), "[DDERR_XALIGN] The rectangle given was not horizontally aligned on a boundary the hardware needs."},
    {dd(561), "[DDERR_INVALIDDIRECTDRAWGUID] The GUID passed to DirectDrawCreate is not a valid identifier of a DirectDraw driver."},
    {dd(562), "[DDERR_DIRECTDRAWALREADYCREATED] A DirectDraw object for this driver has been created already."},
    {dd(563), "[DDERR_NODIRECTDRAWHW] Hardware-only DirectDraw object creation is not possible; the driver has no hardware support."},
    {dd(564), "[DDERR_PRIMARYSURFACEALREADYEXISTS] This process has created a primary surface already."},
    {dd(565), "[DDERR_NOEMULATION] Software emulation is not available."},
    {dd(566), "[DDERR_REGIONTOOSMALL] The region passed to IDirectDrawClipper::GetClipList is too small."},
    {dd(567), "[DDERR_CLIPPERISUSINGHWND] A clip list was to be set on a DirectDrawClipper object that already watches a window handle."},
    {dd(568), "[DDERR_NOCLIPPERATTACHED] No DirectDrawClipper object is attached to the surface."},
    {dd(569), "[DDERR_NOHWND] Clipper notification needs a window handle, or no window handle was set earlier as the cooperative-level window."},
    {dd(570), "[DDERR_HWNDSUBCLASSED] DirectDraw cannot restore its state because the window handle it uses has been subclassed by someone else."},
    {dd(571), "[DDERR_HWNDALREADYSET] The cooperative-level window handle has been set already; it cannot be reset while the process has surfaces or palettes."},
    {dd(572), "[DDERR_NOPALETTEATTACHED] No palette object is attached to this surface."},
    {dd(573), "[DDERR_NOPALETTEHW] There is no hardware support for 16-colour or 256-colour palettes."},
    {dd(574), "[DDERR_BLTFASTCANTCLIP] A DirectDrawClipper object is attached to a source surface passed to IDirectDrawSurface::BltFast, which cannot clip."},
    {dd(575), "[DDERR_NOBLTHW] No blitter hardware is present."},
    {dd(576), "[DDERR_NODDROPSHW] No DirectDraw raster-operation hardware is available."},
    {dd(577), "[DDERR_OVERLAYNOTVISIBLE] The position of an overlay was asked for while the overlay was hidden."},
    {dd(578), "[DDERR_NOOVERLAYDEST] The position of an overlay was asked for before IDirectDrawSurface::UpdateOverlay had given it a destination."},
    {dd(579), "[DDERR_INVALIDPOSITION] The position of the overlay on the destination is no longer allowed."},
    {dd(580), "[DDERR_NOTAOVERLAYSURFACE] An overlay method was called on a surface that is not an overlay."},
    {dd(581), "[DDERR_EXCLUSIVEMODEALREADYSET] Exclusive mode was asked for while another application already holds it."},
    {dd(582), "[DDERR_NOTFLIPPABLE] A surface that cannot be flipped was to be flipped."},
    {dd(583), "[DDERR_CANTDUPLICATE] Primary and 3-D surfaces, and surfaces that are implicitly created, cannot be duplicated."},
    {dd(584), "[DDERR_NOTLOCKED] A surface that was not locked was to be unlocked."},
    {dd(585), "[DDERR_CANTCREATEDC] Windows cannot make any more device contexts, or a device context was asked for a palette-indexed surface without a palette."},
    {dd(586), "[DDERR_NODC] No device context was ever created for this surface."},
    {dd(587), "[DDERR_WRONGMODE] The surface cannot be restored because it was created in a different display mode."},
    {dd(588), "[DDERR_IMPLICITLYCREATED] The surface cannot be restored because it was created implicitly."},
    {dd(589), "[DDERR_NOTPALETTIZED] The surface in use is not palette-based."},
    {dd(590), "[DDERR_UNSUPPORTEDMODE] The display is in a mode that is not supported."},
    {dd(591), "[DDERR_NOMIPMAPHW] The operation failed because no mipmap texture-mapping hardware is present or available."},
    {dd(592), "[DDERR_INVALIDSURFACETYPE] The surface was of the wrong type for the operation."},
    {dd(600), "[DDERR_NOOPTIMIZEHW] The device does not support optimized surfaces."},
    {dd(601), "[DDERR_NOTLOADED] The surface is an optimized surface, but it has not had memory given to it yet."},
    {dd(602), "[DDERR_NOFOCUSWINDOW] An exclusive-mode device window was to be made without a focus window having been set."},
    {dd(620), "[DDERR_DCALREADYCREATED] A device context has been returned already for this surface; only one can be had per surface."},
    {dd(630), "[DDERR_NONONLOCALVIDMEM] Non-local display memory was asked for from a device that does not support it."},
    {dd(640), "[DDERR_CANTPAGELOCK] A page lock on the surface failed. Page locks do not work on a surface in display memory or on an emulated primary surface."},
    {dd(660), "[DDERR_CANTPAGEUNLOCK] A page unlock on the surface failed. Page unlocks do not work on a surface in display memory or on an emulated primary surface."},
    {dd(680), "[DDERR_NOTPAGELOCKED] A page unlock was asked for on a surface that has no page lock outstanding."},
    {dd(690), "[DDERR_MOREDATA] There is more data available than the buffer given can hold."},
    {dd(695), "[DDERR_VIDEONOTACTIVE] The video port is not active."},
    {dd(699), "[DDERR_DEVICEDOESNTOWNSURFACE] Surfaces created by one DirectDraw device cannot be used directly by another DirectDraw device."},
};

// Ascending by code as an unsigned number.
const VidResultText vidInputResults[VID_INPUT_RESULT_COUNT] = {
    {0, "[DI_OK] The operation completed successfully."},
    {1, "DI_NOEFFECT, DI_NOTATTACHED or DI_PROPNOEFFECT"},
    {2, "[DI_POLLEDDEVICE] The device is a polled device, so it must be polled for its state or data to change."},
    {3, "[DI_DOWNLOADSKIPPED] The parameters of the effect were changed, but the effect was not downloaded."},
    {4, "[DI_EFFECTRESTARTED The effect was stopped, its parameters were updated and it was started again."},
    {8, "[DI_TRUNCATED] The parameters of the effect were changed, but some were beyond what the device can do and were cut down to the nearest allowed value."},
    {12, "[DI_TRUNCATEDANDRESTARTED] The parameters were cut down to what the device can do, and the effect was started again; both DI_TRUNCATED and DI_EFFECTRESTARTED apply."},
    {hr(0x8000000A), "[E_PENDING] The data is not available yet."},
    {hr(0x80004001), "[DIERR_UNSUPPORTED] The function called is not supported at this time."},
    {hr(0x80004002), "[DIERR_NOINTERFACE] The object does not support the interface asked for."},
    {hr(0x80004005), "[DIERR_GENERIC] An undetermined error occurred inside the DirectInput subsystem."},
    {hr(0x80040110), "[DIERR_NOAGGREGATION] This object does not support aggregation."},
    {hr(0x80040154), "[DIERR_DEVICENOTREG] The device or device instance is not registered with DirectInput."},
    {hr(0x80040201), "[DIERR_DEVICEFULL] The device is full."},
    {hr(0x80040202), "[DIERR_MOREDATA] Not all the data could be returned because the buffer given was too small."},
    {hr(0x80040203), "[DIERR_NOTDOWNLOADED] The effect is not downloaded."},
    {hr(0x80040204), "[DIERR_HASEFFECTS] The device cannot be reinitialized because effects are still attached to it."},
    {hr(0x80040205), "[DIERR_NOTEXCLUSIVEACQUIRED] The operation cannot be done unless the device is acquired in exclusive mode."},
    {hr(0x80040206), "[DIERR_INCOMPLETEEFFECT] The effect could not be downloaded because essential information is missing, such as its duration or type-specific parameters."},
    {hr(0x80040207), "[DIERR_NOTBUFFERED] The operation needs a buffered device, and the device is not buffered."},
    {hr(0x80040208), "[DIERR_EFFECTPLAYING] The parameters were updated in memory but not downloaded, because the device does not support updating an effect while it plays."},
    {hr(0x80070002), "DIERR_NOTFOUND, DIERR_OBJECTNOTFOUND, DIERR_READONLY or DIERR_OTHERAPPHASPRIO."},
    {hr(0x80070005), "[DIERR_HANDLEEXISTS] The device already has an event notification handle associated with it."},
    {hr(0x8007000C), "[DIERR_NOTACQUIRED] The operation cannot be done until the device has been acquired."},
    {hr(0x8007000E), "[DIERR_OUTOFMEMORY] The DirectInput subsystem could not get enough memory to finish the call."},
    {hr(0x80070015), "[DIERR_NOTINITIALIZED] The object has not been initialized."},
    {hr(0x8007001E), "[DIERR_INPUTLOST] Access to the input device has been lost. It must be acquired again."},
    {hr(0x80070057), "[DIERR_INVALIDPARAM] An argument that is not valid was passed to the function, or the object was not in a state that allows the function to be called."},
    {hr(0x80070077), "[DIERR_BADDRIVERVER] The object could not be created because the installed driver is incompatible or unsupported."},
    {hr(0x800700AA), "[DIERR_ACQUIRED] The operation cannot be done while the device is acquired."},
    {hr(0x8007047E), "[DIERR_OLDDIRECTINPUTVERSION] The application needs a newer version of DirectInput."},
    {hr(0x80070481), "[DIERR_BETADIRECTINPUTVERSION] The application was written for a prerelease version of DirectInput that is no longer supported."},
    {hr(0x800704DF), "[DIERR_ALREADYINITIALIZED] The object has been initialized already."},
};

namespace {

const char* vidFindText(const VidResultText* table, int count, int32_t code, const char* fallback) {
    for (int i = 0; i < count; i++) {
        if (table[i].code == code) return table[i].text;
    }
    return fallback;
}

void vidFormatResult(const char* format, const char* text, int32_t code, char* line, size_t size) {
    if (!line || size == 0) return;
    // The text goes through a buffer of its own first, as long as the longest row.
    char buffer[VID_RESULT_TEXT_SIZE];
    std::snprintf(buffer, sizeof buffer, "%s", text);
    std::snprintf(line, size, format, buffer, static_cast<long>(code));
}

}  // namespace

const char* vidDisplayResultText(int32_t code) {
    return vidFindText(vidDisplayResults, VID_DISPLAY_RESULT_COUNT, code, "Unknown error");
}

const char* vidInputResultText(int32_t code) {
    return vidFindText(vidInputResults, VID_INPUT_RESULT_COUNT, code, "NO SUCH ERROR");
}

void vidFormatDisplayResult(int32_t code, char* line, size_t size) {
    vidFormatResult("DDraw error: %s [%ld]", vidDisplayResultText(code), code, line, size);
}

void vidFormatInputResult(int32_t code, char* line, size_t size) {
    vidFormatResult("DInput error: %s [%ld]", vidInputResultText(code), code, line, size);
}

void vidDescribeDisplayResult(int32_t code) {
    char line[VID_RESULT_LINE_SIZE];
    vidFormatDisplayResult(code, line, sizeof line);
    cmDebugPrint("%s", line);
}

void vidDescribeInputResult(int32_t code) {
    char line[VID_RESULT_LINE_SIZE];
    vidFormatInputResult(code, line, sizeof line);
    cmDebugPrint("%s", line);
}
