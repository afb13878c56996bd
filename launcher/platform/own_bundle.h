#pragma once
// The launcher's own application bundle, found from its executable's location.

#include <string>

namespace vornik {

// The running program's executable, symbolic links resolved ("" when
// unknown). Each system has its own way to ask (linux/, apple/).
std::string ownExecutablePath();

// For ".../Name.app/Contents/MacOS/program" the path of Name.app; for an
// executable outside such a layout, the folder that holds it.
std::string bundleOfExecutable(const std::string& executablePath);

}  // namespace vornik
