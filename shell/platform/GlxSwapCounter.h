#pragma once

#include <cstdint>

// The swaps of the current GLX drawable that have completed, read through
// GLX_OML_sync_control: while presents wait for the retrace, a swap
// completes when its frame goes on screen, so the count says how many frames
// presented still wait for the display. Neither SDL nor a fence can say that.
class GlxSwapCounter
{
public:
    // Null where the current context is not GLX's (EGL, a dummy driver) or
    // GLX does not offer the counter.
    static GlxSwapCounter* ForCurrentContext();
    GlxSwapCounter(const GlxSwapCounter&) = delete;
    GlxSwapCounter& operator=(const GlxSwapCounter&) = delete;
    ~GlxSwapCounter();

    // The swaps completed since this counter was made; false where GLX
    // cannot tell.
    bool Read(uint64_t* completed);

private:
    using GetSyncValues = int (*)(void*, unsigned long, int64_t*, int64_t*, int64_t*);
    GlxSwapCounter(void* library, GetSyncValues getSyncValues, void* display,
                   unsigned long drawable);

    void* const library; // held while the call is
    const GetSyncValues getSyncValues;
    void* const display;
    const unsigned long drawable;
    int64_t first = 0; // the count when made
};
