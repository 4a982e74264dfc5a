# The Windows build: the game over the Win32 backend, packed into a zip with
# its data, and the headless tests that run under Wine. The data files are
# made by host tools, so they come from a Linux build's game folder
# (TQ_GAME_DATA).
set(TQ_GAME_DATA "" CACHE PATH "A Linux build's game/ folder, holding ALL, worddiction.txt and sounds/")

# The Win32 backend: the window and GDI, DirectDraw, DirectInput and waveOut.
tq_module(tq_win32 platform/win32)
target_sources(tq_win32 PRIVATE ${tq_backend_common})
target_link_libraries(tq_win32 PUBLIC ${tq_backend_system_libs} ddraw dinput dxguid winmm gdi32 user32)

if(TQ_BUILD_GAME)
  add_executable(tarvoquelms WIN32 platform/win32/main/main.cpp)
  tq_link_backend(tarvoquelms tq_win32)
  target_compile_options(tarvoquelms PRIVATE ${TQ_WARNINGS})
  # wmain: the command line in UTF-16.
  target_link_options(tarvoquelms PRIVATE -municode)
  target_link_libraries(tarvoquelms PRIVATE tq_flow)
  set_target_properties(tarvoquelms PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/game)
endif()
