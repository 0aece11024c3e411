#pragma once

class Scene;

// Stores where the Scene's motion stands ("lBuildWpValue1..3") and the screen size it
// belongs to ("lBuildWpRes"), so that the next full-screen run on that screen resumes
// from the picture on the desktop. Nothing is written for a preview Scene.
void saveScenePosition(const Scene& scene);
