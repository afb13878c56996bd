#include "file_paths.h"

#include <filesystem>
#include <vector>

namespace vornik {

std::string standardizedPath(const std::string& path) {
    std::string absolute = path;
    if (absolute.empty() || absolute.front() != '/') {
        std::error_code error;
        std::string current = std::filesystem::current_path(error).string();
        absolute = current + "/" + absolute;
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= absolute.size()) {
        std::size_t end = absolute.find('/', start);
        if (end == std::string::npos) end = absolute.size();
        std::string part = absolute.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result;
    for (const auto& part : parts) result += "/" + part;
    return result.empty() ? "/" : result;
}

std::string lastPathComponent(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    std::size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos || trimmed == "/") return trimmed;
    return trimmed.substr(slash + 1);
}

std::string pathExtension(const std::string& path) {
    std::string name = lastPathComponent(path);
    std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return {};
    return name.substr(dot + 1);
}

std::string deletingLastPathComponent(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    std::size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return trimmed.substr(0, slash);
}

std::string appendingPathComponent(const std::string& path, const std::string& component) {
    if (path.empty()) return component;
    if (path.back() == '/') return path + component;
    return path + "/" + component;
}

}  // namespace vornik
