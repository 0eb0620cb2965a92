#include "render/view_settings.h"

ViewSettings gView;
