#include "shell/platform/GlxSwapCounter.h"

#include <X11/Xlib.h>
#include <dlfcn.h>

#include <cstring>

GlxSwapCounter* GlxSwapCounter::ForCurrentContext()
{
    // Only the GL library SDL already loaded, whose GLX calls tell whether a
    // GLX context is current.
    void* library = dlopen("libGL.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (!library)
        return nullptr;
    auto symbol = [library](const char* name) { return dlsym(library, name); };
    auto currentContext = reinterpret_cast<void* (*)()>(symbol("glXGetCurrentContext"));
    auto currentDisplay = reinterpret_cast<Display* (*)()>(symbol("glXGetCurrentDisplay"));
    auto currentDrawable = reinterpret_cast<unsigned long (*)()>(symbol("glXGetCurrentDrawable"));
    auto extensions =
        reinterpret_cast<const char* (*)(Display*, int)>(symbol("glXQueryExtensionsString"));
    auto procAddress =
        reinterpret_cast<void* (*)(const unsigned char*)>(symbol("glXGetProcAddressARB"));
    GlxSwapCounter* counter = nullptr;
    if (currentContext && currentDisplay && currentDrawable && extensions && procAddress &&
        currentContext())
    {
        Display* display = currentDisplay();
        const char* offered = display ? extensions(display, DefaultScreen(display)) : nullptr;
        auto getSyncValues = reinterpret_cast<GetSyncValues>(
            procAddress(reinterpret_cast<const unsigned char*>("glXGetSyncValuesOML")));
        if (offered && std::strstr(offered, "GLX_OML_sync_control") && getSyncValues)
        {
            int64_t ust = 0, msc = 0, sbc = 0;
            if (getSyncValues(display, currentDrawable(), &ust, &msc, &sbc))
                counter = new GlxSwapCounter(library, getSyncValues, display, currentDrawable());
        }
    }
    if (!counter)
        dlclose(library);
    return counter;
}

GlxSwapCounter::GlxSwapCounter(void* library, GetSyncValues getSyncValues, void* display,
                               unsigned long drawable)
    : library(library), getSyncValues(getSyncValues), display(display), drawable(drawable)
{
    int64_t ust = 0, msc = 0;
    if (!getSyncValues(display, drawable, &ust, &msc, &first))
        first = 0;
}

GlxSwapCounter::~GlxSwapCounter()
{
    dlclose(library);
}

bool GlxSwapCounter::Read(uint64_t* completed)
{
    int64_t ust = 0, msc = 0, sbc = 0;
    if (!getSyncValues(display, drawable, &ust, &msc, &sbc) || sbc < first)
        return false;
    *completed = static_cast<uint64_t>(sbc - first);
    return true;
}
