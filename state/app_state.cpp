#include "state/app_state.h"

static App InitialApp()
{
    App app = {};
    app.activeCalibration = -1;
    app.calibrationNotApplied = -1;
    return app;
}

App gApp = InitialApp();
