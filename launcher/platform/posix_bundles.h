#pragma once
// Application bundles on disk: a folder with Contents/Info.plist and its
// executable in Contents/MacOS.

#include "services.h"

namespace vornik {

class PosixBundles : public Bundles {
public:
    std::optional<BundleInfo> open(const std::string& path) override;
};

}  // namespace vornik
