# The Windows build: the game over the Win32 backend, packed into a zip with
# its data, and the headless tests that run under Wine. The data files are
# made by host tools, so they come from a Linux build's game folder
# (TQ_GAME_DATA).
set(TQ_GAME_DATA "" CACHE PATH "A Linux build's game/ folder, holding ALL, worddiction.txt and sounds/")

