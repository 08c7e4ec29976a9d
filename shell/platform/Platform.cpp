#include "shell/platform/Platform.h"

#include "audio/engine/DeviceOutput.h"
#include "objects/SceneArena.h"
#include "shell/platform/LargePages.h"
#include "shell/platform/SdlAudioDevice.h"
#include "shell/platform/SdlWindow.h"

void InstallPlatform()
{
    GameWindow::SetOpener(
        [](int width, int height, DrawingPath path, bool waitForRetrace) -> GameWindow*
        { return new SdlWindow(width, height, path, waitForRetrace); });
    SceneArena::SetBlockSource(LargePageBlock);
    DeviceOutput::startDevice = [](bool dummy) -> AudioDevice*
    { return SdlAudioDevice::Start(dummy); };
}
