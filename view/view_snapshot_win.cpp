#include "view/view_snapshot_win.h"

#include "state/settings.h"
#include "view/view_state.h"
#include "view/view_source.h"

bool View_SnapshotPicture(SnapshotPicture *picture, bool numbered)
{
    picture->pixels = View_BackPixels(&picture->width, &picture->height);
    if (!View_HasPicture() || !picture->pixels)
        return false;
    // A snapshot for measuring is neither shrunk nor blown up: at another
    // zoom the picture is composed again at its own size.
    bool zoomed = picture->width != gView.imageWidth || picture->height != gView.imageHeight;
    bool numbersMissing = numbered && !gView.showNumbers;
    if ((!zoomed || gSettings.snapshotAsShown) && !numbersMissing)
        return true;
    PictureComposition &composed = picture->composition;
    if (!View_ComposePicture(&composed, numbered))
        return false;
    picture->pixels = composed.pixels;
    picture->width = composed.width;
    picture->height = composed.height;
    return true;
}
