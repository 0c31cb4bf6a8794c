// What pages and dialogs know of the link: the model's snapshots.
#include "model/Snapshots.h"

int modelProbe() {
    return maxSurveyEntries;
}
