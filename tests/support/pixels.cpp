// Placeholder: implemented with the image part of the runtime.
#include "pixels.h"
