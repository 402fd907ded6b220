// roviro-cli: the command-line tool for service benches, production lines and scripts. It
// calls the same core functions as the program's screens.

#include <CLI/CLI.hpp>

#include <memory>

#include <iostream>
#include <string>
#include <vector>

#include "BuildInfo.h"
#include "cli/BoxSession.h"
#include "cli/CatalogueCommands.h"
#include "cli/CliSupport.h"
#include "cli/DeviceCommands.h"
#include "cli/FileCommands.h"
#include "cli/RecordCommands.h"
#include "cli/SafetyCommands.h"
#include "cli/StationCommand.h"

namespace {

using namespace roviro::cli;

// CLI11's help with "Excludes: ..." on a line of its own below the option's description
// instead of squeezed between the option's name and its description.
class HelpFormatter : public CLI::Formatter {
 public:
  std::string make_option_opts(const CLI::Option* opt) const override {
    std::string opts = CLI::Formatter::make_option_opts(opt);
    if (const auto at = opts.find(" " + get_label("Excludes") + ":"); at != std::string::npos) {
      opts.erase(at);
    }
    return opts;
  }
  std::string make_option_desc(const CLI::Option* opt) const override {
    std::string desc = CLI::Formatter::make_option_desc(opt);
    if (!opt->get_excludes().empty()) {
      desc += "\n" + get_label("Excludes") + ":";
      for (const CLI::Option* other : opt->get_excludes()) desc += " " + other->get_name();
    }
    return desc;
  }
};

constexpr const char* kExitCodesFooter =
    "Exit codes: 0 done; 1 differences found (diff) or messages shown (catalogue check);\n"
    "2 wrong usage; 3 no box found, port cannot be opened or the box does not answer;\n"
    "4 transfer failed; 5 no motor connected and the box holds no parameters; 6 a motor of\n"
    "another type is connected, nothing written; 7 a file cannot be read or written;\n"
    "8 no motor connected, only the box was written or read.\n"
    "roviro-cli where prints where contact data, settings, backups and history are kept.";

int Run(int argc, char** argv) {
  CLI::App app{
      "roviro-cli: program tubular motors through the ZodavaRoze box, inspect "
      "parameter files and catalogues.",
      "roviro-cli"};
  app.formatter(std::make_shared<HelpFormatter>());
  app.footer(kExitCodesFooter);
  app.set_version_flag("--version", "roviro-cli " ROVIRO_VERSION " (revision " ROVIRO_REVISION ")",
                       "print the version and build revision and exit");
  app.require_subcommand(1);
  app.fallthrough();

  GlobalOptions options;
  app.add_option("--program-dir", options.programDir,
                 "folder holding LoaderDaten/ and IgnorePortList.txt (default: the executable's)");
  app.add_option("--data-dir", options.dataDir,
                 "shared data folder (default: $XDG_DATA_HOME or ~/.local/share)");
  auto* port = app.add_option("--port", options.port,
                              "open this serial device with the box probe, skipping discovery");
  auto* simulate = app.add_flag("--simulate", options.simulate, "use the built-in simulated box");
  port->excludes(simulate);
  app.add_option("--lang", options.language,
                 "language of the screen texts and motor names: 0 Deutsch, 1 English, "
                 "2 Francais, 3 Italiano, 4 Nederlands")
      ->check(CLI::Range(0, 4));
  app.add_option("--trace", options.trace,
                 "write every telegram sent to and received from the box to FILE")
      ->type_name("FILE");

  int rc = kExitOk;

  // Files.
  std::string showFile;
  bool showJson = false;
  auto* show = app.add_subcommand("show", "show a parameter file: texts, versions, GUID, blocks");
  show->add_option("FILE", showFile, "the *.kxmc file")->required();
  show->add_flag("--json", showJson, "one JSON document on standard output");
  show->callback([&] { rc = RunShow(options, showFile, showJson); });

  std::string diffA;
  std::string diffB;
  bool diffMotor = false;
  auto* diff = app.add_subcommand(
      "diff", "differing bytes of two parameter files, or of a file and the motor; exit 1 if any");
  diff->add_option("A", diffA, "first *.kxmc file")->required();
  auto* diffSecond = diff->add_option("B", diffB, "second *.kxmc file");
  diff->add_flag("--motor", diffMotor,
                 "compare A with the set read from the motor (into memory, nothing written)")
      ->excludes(diffSecond);
  diff->callback([&] {
    if (diffMotor) {
      rc = RunMotorDiff(options, diffA);
    } else if (diffB.empty()) {
      std::cerr << "roviro-cli diff: needs a second file B or --motor\n";
      rc = kExitUsage;
    } else {
      rc = RunDiff(options, diffA, diffB);
    }
  });

  // Catalogues.
  auto* catalogue = app.add_subcommand("catalogue", "check or build catalogue archives");
  catalogue->require_subcommand(1);
  std::vector<std::string> checkPaths;
  auto* check = catalogue->add_subcommand(
      "check",
      "load archives (files or folders) as start-up does; print every message, then the "
      "accepted catalogues' motors; exit 1 if anything was shown or skipped");
  check->add_option("PATH", checkPaths, "*.kxbmc files or folders")->required();
  check->callback([&] { rc = RunCatalogueCheck(options, checkPaths); });

  std::vector<std::string> packSources;
  std::string packOutput;
  bool fixChecksums = false;
  auto* pack = catalogue->add_subcommand("pack", "build a catalogue archive with its manifest");
  pack->add_option("SRC", packSources, "catalogue documents (*.xml)")->required();
  pack->add_option("-o,--output", packOutput, "the archive to write (*.kxbmc)")->required();
  pack->add_flag("--fix-checksums", fixChecksums, "rewrite each parameter line's two check bytes");
  pack->callback([&] { rc = RunCataloguePack(packSources, packOutput, fixChecksums); });

  auto* where = app.add_subcommand(
      "where", "where contact data, settings, backups, history and scratch files are kept");
  where->callback([&] { rc = RunWhere(options); });

  AddDeviceCommands(app, options, rc);
  AddSafetyCommands(app, options, rc);
  AddRecordCommands(app, options, rc);
  AddStationCommand(app, options, rc);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  }
  // A trace that could not be written whole fails a command that otherwise succeeded.
  if (rc == kExitOk && TraceWasIncomplete()) rc = kExitFile;
  return rc;
}

}  // namespace

int main(int argc, char** argv) { return Run(argc, argv); }
