#pragma once

// Installs the platform's layer under the game's logic: windows open on
// SDL's video subsystem, sound devices on its audio subsystem, and the
// scene's arena takes its blocks on the processor's large pages. Called
// once, before the game starts, by every program that runs the whole engine.
void InstallPlatform();
