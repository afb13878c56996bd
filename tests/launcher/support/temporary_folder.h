#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <string>

namespace vornik::testing {

class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

private:
    std::string path_;
};

void writeFile(const std::string& path, const std::string& contents);
std::string readFile(const std::string& path);
void makeFolders(const std::string& path);

}  // namespace vornik::testing
