#pragma once

union SDL_Event;

// Applies one window event: key presses and releases go to the input service
// as translated key values. Returns true for the event that ends the run.
bool WindowProc(const SDL_Event& event);
