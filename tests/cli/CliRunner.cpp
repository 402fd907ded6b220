#include "CliRunner.h"

#include <sys/wait.h>

#include <cstdlib>

#include "catalogue/Archive.h"
#include "platform/Paths.h"

namespace roviro::test {

namespace {

std::string Quote(const std::string& word) {
  std::string out = "'";
  for (char c : word) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out.push_back(c);
    }
  }
  return out + "'";
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& scratchFolder) {
  return RunProgram(ROVIRO_CLI_PATH, args, scratchFolder);
}

CliResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& scratchFolder, const std::string& environment) {
  const std::string outPath = JoinPath(scratchFolder, "cli.out");
  const std::string errPath = JoinPath(scratchFolder, "cli.err");
  std::string command = environment.empty() ? std::string() : "env " + environment + " ";
  command += Quote(program);
  for (const auto& a : args) command += " " + Quote(a);
  command += " >" + Quote(outPath) + " 2>" + Quote(errPath) + " </dev/null";
  const int status = std::system(command.c_str());
  CliResult r;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  ReadWholeFile(outPath, &r.out);
  ReadWholeFile(errPath, &r.err);
  RemoveFile(outPath);
  RemoveFile(errPath);
  return r;
}

}  // namespace roviro::test
