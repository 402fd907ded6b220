#pragma once
// Runs roviro-cli with arguments and collects exit code, standard output and standard error.

#include <string>
#include <vector>

namespace roviro::test {

struct CliResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Every argument is passed as one word, whatever it contains.
CliResult RunCli(const std::vector<std::string>& args, const std::string& scratchFolder);
// The same for any program; `environment` (words for env(1), such as "-u DISPLAY") is put
// before it.
CliResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& scratchFolder, const std::string& environment = {});

}  // namespace roviro::test
