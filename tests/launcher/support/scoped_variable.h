#pragma once
// An environment variable of this process set for one scope, and put back
// as it was (set to its old value, or unset) when the scope ends.

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace vornik::testing {

class ScopedVariable {
public:
    ScopedVariable(std::string name, const std::string& value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) previous_ = old;
        ::setenv(name_.c_str(), value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (previous_)
            ::setenv(name_.c_str(), previous_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

}  // namespace vornik::testing
