#pragma once
// The bench the device tests of roviro-cli stand on: below `root` a program folder "prog" with
// one catalogue, a data folder "data", and the simulated box, its motor of the catalogue's
// first type, served on a pseudo-terminal in this process.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "catalogue/Catalogue.h"
#include "sim/BoxSimulator.h"
#include "sim/SimTransport.h"

namespace roviro::test {

// Writes the two folders and the catalogue; `catalogue` (if given) receives it as loaded.
::testing::AssertionResult MakeBenchFolders(const std::string& root,
                                            std::unique_ptr<Catalogue>* catalogue = nullptr);

// The box with the catalogue's factory set in its motor, served on a started pseudo-terminal.
::testing::AssertionResult StartBenchBox(const Catalogue& catalogue,
                                         std::shared_ptr<sim::BoxSimulator>* box,
                                         std::unique_ptr<sim::PtyTransport>* pty);

}  // namespace roviro::test
