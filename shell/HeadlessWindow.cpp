#include "shell/HeadlessWindow.h"

#include "shell/SoftwareCompositor.h"

HeadlessWindow::HeadlessWindow(int width, int height)
    : width(width), height(height), pixels(static_cast<std::size_t>(width) * height),
      compositor(new SoftwareCompositor(SoftwareCompositor::BandsForThisMachine()))
{
    compositor->SetTarget(pixels.data(), width, height, width * 4, 1.0f, 1.0f);
}

HeadlessWindow::~HeadlessWindow()
{
    delete compositor;
}

DrawingBackEnd* HeadlessWindow::Device()
{
    return compositor;
}
