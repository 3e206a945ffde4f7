// The scene registry: one table from scene id to the factory that creates the scene. Ids 0..16
// are the events (EventId), 18 the menu, 19 the medal presentation, 20 and 21 the opening and
// closing ceremonies. A null factory marks a scene that is not built yet; id 17 is unused.
#pragma once

namespace kel {

class SportEvent;

using SceneFactory = SportEvent* (*)();

constexpr int kSceneIdCount = 22; // ids 0..21

// True when `id` is in 0..21 and its scene has a factory.
bool SceneBuilt(int id);

// A new scene (the caller owns it), or null for an id outside the table or a scene not built yet.
SportEvent* CreateSceneById(int id);

} // namespace kel
