#include "record/timeline.h"

#include <algorithm>

void Timeline_Reset(Timeline *timeline)
{
    *timeline = {};
}

// A frame's place on the sample clock, when its time can be trusted.
static bool SamplePlace(const Timeline *timeline, int64_t sampleTime, int64_t *place)
{
    if (sampleTime == 0 || !timeline->anchored || sampleTime < timeline->lastSample)
        return false;
    *place = timeline->anchorTime + (sampleTime - timeline->anchorSample);
    return true;
}

int64_t Timeline_Place(Timeline *timeline, int64_t sampleTime, int64_t arrivalTime)
{
    int64_t place = 0;
    bool onSampleClock = SamplePlace(timeline, sampleTime, &place);
    if (timeline->started) {
        if (!onSampleClock)
            place = timeline->time + (arrivalTime - timeline->arrival);
        place = std::max(place, timeline->time + TIMELINE_MIN_STEP);
        int64_t gap = place - timeline->time;
        // An eighth of each new step: it follows a change of rate within a
        // second or so and shrugs off a single late frame.
        timeline->averageGap = timeline->averageGap ? timeline->averageGap + (gap - timeline->averageGap) / 8 : gap;
    }
    if (sampleTime != 0) {
        if (!onSampleClock) {
            timeline->anchored = true;
            timeline->anchorSample = sampleTime;
            timeline->anchorTime = place;
        }
        timeline->lastSample = sampleTime;
    }
    timeline->started = true;
    timeline->time = place;
    timeline->arrival = arrivalTime;
    return place;
}
