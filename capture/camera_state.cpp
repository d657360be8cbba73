#include "capture/camera_state.h"

Camera gCamera;
