#pragma once
// The services that macOS offers as the system's own and that Linux lacks.
// Each is made by one function, defined once in apple/ (built only on macOS,
// on the system's services) and once in linux/ (built everywhere else, on
// stand-ins of our own); the code that uses them is the same on both.

#include "services.h"

#include <memory>

namespace vornik {

// The launcher's preferences, the one store that every front end of the
// launcher uses for the user whose home folder `files` knows: the
// user-defaults domain of the launcher on macOS, the domain's property-list
// file under the home folder elsewhere.
std::shared_ptr<Preferences> userPreferences(Files& files);

// The lookup of applications by bundle identifier and the file viewer.
std::shared_ptr<Workspace> systemWorkspace(std::shared_ptr<Files> files);

// The running applications, by bundle identifier.
std::shared_ptr<RunningApplications> systemRunningApplications();

// What the lookup by bundle identifier is, in a line, for the command line.
const char* applicationLookupDescription();

}  // namespace vornik
