#pragma once
#include "scene/scene_setup.h"

#include <windows.h>

// The preview's placeholder picture stretched to width x height onto dc: what a preview
// shows while its pictures load.
void showPreviewPlaceholder(HDC dc, int width, int height);

// Gathers what the Scene of a catalogue type needs, in the order the Scene's construction
// reads it: the type's settings and file entry for the screen size; then, only in full screen, when
// mayResume (on several monitors only the primary's Scene resumes) and when the last frame would
// become the wallpaper, the stored position for this screen size; then both
// pictures, decoded (COM is initialised here for the time of it) and scaled to the screen
// when the entry was the 1024 x 768 one. dc is a context of the screen; the scaled pictures
// are made compatible with it. Whatever cannot be had is missing from the record, and a
// Scene built from it is broken.
// ownResume, when given, is where this monitor's Scene stood at the last hand-off (a
// monitor other than the primary), taken in place of the stored values under the same
// conditions but the screen size.
// cataloguePath names a catalogue other than the one beside the program (the checker's).
// What went wrong is in the record's fault.
// Once stopEvent (when given) is set, the load ends before its next picture or scaling,
// with the pictures missing.
SceneSetup loadSceneSetup(int typeNumber, HDC dc, int screenWidth, int screenHeight,
                          bool fullScreen, bool mayResume = true,
                          const ResumeValues* ownResume = nullptr,
                          const char* cataloguePath = nullptr, HANDLE stopEvent = nullptr);
