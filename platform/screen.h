// Installs the toolkit's answers behind the engines' hooks: the screen's horizontal
// resolution and notices raised while painting.
#pragma once

namespace platform {
void InstallEngineHooks();
}
