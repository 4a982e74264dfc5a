// The dictionary reaching beside itself into the saved files and into SDL.
#include <SDL2/SDL.h>
#include "Core/cmdebug.h"
#include "persist/fieldreader.h"
