// Artifacts: where tests leave files (screenshots) for a person to look at.
#pragma once

#include <string>

// The path of name inside the artifacts folder: VEK_TEST_ARTIFACTS when set, else
// "artifacts" below the test's working directory. The folder and any subfolders named in
// name ("windows/main.png") are created.
std::string artifactPath(const std::string& name);
