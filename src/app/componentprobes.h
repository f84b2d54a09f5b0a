#pragma once

// The probes of the components the program depends on, for the start-up check.

namespace pikotel {

// Each component answers an open with an empty record: it must refuse it with an error
// code of its own. One that accepts it (or throws) is not the component the program knows.
bool probeDirectoryEngine();
bool probeAlternateEngine();
bool probePostalComponent();
bool probeNameDictionary();

// Registers the four for CheckComponentRegistration.
void registerComponentProbes();

} // namespace pikotel
