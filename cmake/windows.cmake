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

# The tests of the code that differs on Windows (files, folders and saves),
# over the headless backend, built with Debian's GoogleTest sources and run
# under Wine by the Linux build's ctest.
if(TQ_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  function(tq_windows_test folder)
    file(GLOB srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp)
    add_executable(test_${folder} ${srcs})
    target_compile_options(test_${folder} PRIVATE ${TQ_WARNINGS})
    target_include_directories(test_${folder} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(test_${folder} PRIVATE ${ARGN} gtest gtest_main)
    tq_link_backend(test_${folder} tq_headless)
    target_compile_definitions(test_${folder} PRIVATE TQ_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
    set_target_properties(test_${folder} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  endfunction()
  tq_windows_test(files tq_flow)
  tq_windows_test(persist tq_flow)
  target_link_libraries(test_persist PRIVATE ZLIB::ZLIB)
endif()

# The zip: the game, its data and a short readme, in one folder.
if(TQ_BUILD_GAME)
  if(NOT EXISTS "${TQ_GAME_DATA}/ALL" OR NOT EXISTS "${TQ_GAME_DATA}/worddiction.txt")
    message(WARNING "TQ_GAME_DATA (${TQ_GAME_DATA}) holds no game data yet: build a Linux build's tq_play first")
  endif()
  # The game folder is ready to run, as a Linux build's is.
  add_custom_target(tq_windows_data ALL
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TQ_GAME_DATA}/ALL ${TQ_GAME_DATA}/worddiction.txt
            ${CMAKE_BINARY_DIR}/game/
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${TQ_GAME_DATA}/sounds ${CMAKE_BINARY_DIR}/game/sounds
    VERBATIM)
  configure_file(data/windows/README.txt.in ${CMAKE_BINARY_DIR}/README.txt NEWLINE_STYLE WIN32)
  install(TARGETS tarvoquelms RUNTIME DESTINATION .)
  install(FILES ${TQ_GAME_DATA}/ALL ${TQ_GAME_DATA}/worddiction.txt ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
  install(DIRECTORY ${TQ_GAME_DATA}/sounds DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME tarvoquelms)
  set(CPACK_PACKAGE_FILE_NAME tarvoquelms-${PROJECT_VERSION}-windows)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_STRIP_FILES ON)
  include(CPack)
endif()
