#pragma once

// True when OpenGL here is drawn by a GPU: a hidden probe window's context
// names a renderer that is not a software rasteriser (llvmpipe, softpipe and
// the like). False without OpenGL, and when SDL_RENDER_DRIVER asks for
// "software"; true when it asks for "opengl" or "opengles2", which puts the
// GPU's path on a software rasteriser too. Needs the video subsystem started.
bool HardwareRendererAvailable();
