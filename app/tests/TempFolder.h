#pragma once

// The app tests' temporary folders: fresh under the system's temporary folder, removed with their
// files when the object goes.
#include "zeno/tests/TemporaryDirectory.h"

using TempFolder = zeno_test::TemporaryDirectory;
