#include "record/recorder_state.h"

Recorder gRecorder;
