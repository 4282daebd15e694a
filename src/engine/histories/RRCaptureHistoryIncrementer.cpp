#include "engine/histories/RRCaptureHistoryIncrementer.h"

bool RRCaptureHistoryIncrementer::increment()
{
    if (exhausted)
        return false;
    if (!started) {
        current.see(releaseSite);
        started = true;
        return true;
    }

    const int finalSite = current.finalSite();
    const int last = current.lastDetection();
    int site = finalSite;
    if (last != releaseSite) {
        if (!current.isRemoved() && last != finalSite) {
            current.markRemoved();
            return true;
        }
        current.clearRemoved();
        // Add one to the detection pattern: clear the trailing run of seen
        // sites; when it reaches back to the release site, all patterns are
        // done.
        while (site > releaseSite && current.isSeen(site)) {
            current.unsee(site);
            --site;
        }
        if (site == releaseSite) {
            exhausted = true;
            return false;
        }
    }
    current.see(site);
    return true;
}
