#include "cli/ByteText.h"
#include "cli/Cli.h"

#include <algorithm>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/Commands.h"
#include "cli/FleetCommands.h"
#include "config/FieldCatalog.h"
#include "config/Version.h"

namespace tarnwick::cli {

namespace {

constexpr const char* kVersion = "tarnwick-cfg " TARNWICK_VERSION;

CLI::App* command(CLI::App& app, const char* name, const char* description,
                  const char* example) {
  CLI::App* sub = app.add_subcommand(name, description);
  sub->footer(std::string("Example:\n  ") + example);
  return sub;
}

// "tarnwick-cfg show", "tarnwick-cfg oper-db build": the command the arguments reached, for
// pointing a usage error at the right help.
std::string commandPath(const CLI::App& app) {
  std::string path = "tarnwick-cfg";
  const CLI::App* level = &app;
  while (true) {
    const auto parsed = level->get_subcommands();
    if (parsed.empty()) break;
    level = parsed.front();
    path += " " + level->get_name();
  }
  return path;
}

// Every named field with its meaning, and the label the windows give it where they show it.
std::string fieldList() {
  std::string text = "Fields (name: meaning [the window's label]):";
  for (const FieldInfo* field : fieldCatalog()) {
    text += "\n  " + std::string(field->name) + ": " + std::string(field->meaning);
    if (!field->label.empty()) text += " [" + std::string(field->label) + "]";
  }
  return text;
}

std::string withNewline(std::string text) {
  if (text.empty() || text.back() != '\n') text.push_back('\n');
  return text;
}

}  // namespace

int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app("Compose, inspect and change trail-camera settings files (menu.cfg) and "
               "operator databases (oper.db).",
               "tarnwick-cfg");
  app.set_version_flag("--version", kVersion);
  // Options are "-x" and "--name" on every system: CLI11 on Windows would otherwise take a
  // leading "/" as an option ("/name"), so a Unix-style path such as /tmp/menu.cfg becomes an
  // unknown option.
  app.allow_windows_style_options(false);
  app.require_subcommand(1);
  app.footer("Run 'tarnwick-cfg COMMAND --help' for a command's options and an example.\n"
             "Exit status: 0 done, 1 a refusal, failed check or difference, 2 a usage error.");

  std::string file;
  std::string fileB;
  std::optional<std::string> outPath;
  std::optional<std::string> dbPath;
  std::string outRequired;
  std::vector<std::string> items;
  bool json = false;
  bool force = false;

  CLI::App* newCmd = command(
      app, "new",
      "Write the file the program writes when started and saved at once (factory defaults).",
      "tarnwick-cfg new -o camera01.cfg");
  std::string newPath = "menu.cfg";
  newCmd->add_option("-o,--output", newPath, "File to write (- for standard output)")
      ->capture_default_str();
  newCmd->add_flag("--force", force, "Replace an existing file");

  CLI::App* show = command(app, "show",
                           "Show every named field: name, offset, value and stored number.",
                           "tarnwick-cfg show menu.cfg");
  show->add_option("FILE", file, "Settings file")->required();
  show->add_flag("--json", json, "Write the fields as JSON");

  CLI::App* get = command(app, "get", "Print the value of each named field, one a line.",
                          "tarnwick-cfg get menu.cfg imageSize serialNo");
  get->add_option("FILE", file, "Settings file")->required();
  get->add_option("FIELD", items, "Field names, as 'show' lists them")->required();

  CLI::App* set = command(
      app, "set",
      "Change fields by name; values in the user's terms, checked as the windows check them. "
      "Nothing is written when any value is refused.",
      "tarnwick-cfg set menu.cfg imageSize=\"VGA 640x480\" serialNo=0042 timeLapse=1:02:03");
  set->footer(std::string("Example:\n  tarnwick-cfg set menu.cfg imageSize=\"VGA 640x480\" "
                          "serialNo=0042 timeLapse=1:02:03\n\n") +
              fieldList());
  set->add_option("FILE", file, "Settings file")->required();
  set->add_option("FIELD=VALUE", items, "Assignments, applied in order")->required();
  set->add_option("-o,--output", outPath, "Write the result here instead of FILE");

  CLI::App* exportCmd = command(app, "export",
                                "Write a settings file as JSON (every field and unnamed byte).",
                                "tarnwick-cfg export menu.cfg -o camera01.json");
  exportCmd->add_option("FILE", file, "Settings file")->required();
  exportCmd->add_option("-o,--output", outPath, "JSON file to write (default: standard output)");
  exportCmd->add_flag("--force", force, "Write over FILE itself when -o names it");

  CLI::App* importCmd = command(app, "import",
                                "Write a settings file from JSON made by 'export'.",
                                "tarnwick-cfg import camera01.json -o menu.cfg");
  importCmd->add_option("JSON", file, "JSON file (- for standard input)")->required();
  std::string importOut = "menu.cfg";
  importCmd->add_option("-o,--output", importOut, "Settings file to write (- for standard output)")
      ->capture_default_str();
  importCmd->add_flag("--force", force, "Replace an existing file");

  CLI::App* diff = command(app, "diff",
                           "List the fields that differ; exit 0 when equal, 1 when not, 2 when "
                           "a file cannot be read.",
                           "tarnwick-cfg diff camera01.cfg camera02.cfg");
  diff->add_option("A", file, "First settings file")->required();
  diff->add_option("B", fileB, "Second settings file")->required();

  CLI::App* operators = command(
      app, "operators",
      "List the countries and operators with their positions (countryIndex, operatorIndex) and "
      "access-point fields.",
      "tarnwick-cfg operators --db oper.db --json");
  operators->add_option("--db", dbPath, "Read this oper.db instead of the built-in table");
  operators->add_flag("--json", json, "Write the table as JSON");

  CLI::App* operDb = command(app, "oper-db", "Read and write operator databases (oper.db).",
                             "tarnwick-cfg oper-db dump oper.db --json > table.json");
  operDb->require_subcommand(1);
  CLI::App* dump = command(*operDb, "dump", "Show the table an oper.db holds.",
                           "tarnwick-cfg oper-db dump oper.db --json > table.json");
  dump->add_option("PATH", file, "oper.db file")->required();
  dump->add_flag("--json", json, "Write the table as JSON (the input of 'build')");
  CLI::App* build = command(*operDb, "build",
                            "Write an oper.db from a JSON table (as 'dump --json' writes it), "
                            "or from Android's list of access points (apns-conf.xml).",
                            "tarnwick-cfg oper-db build --from-apns apns-conf.xml "
                            "--countries DE,AT,CH -o oper.db");
  std::optional<std::string> apnsPath;
  std::optional<std::string> countries;
  CLI::Option* jsonInput = build->add_option("JSON", file, "JSON table");
  CLI::Option* apnsInput =
      build->add_option("--from-apns", apnsPath, "Build from this apns-conf.xml instead");
  jsonInput->excludes(apnsInput);
  build->add_option("--countries", countries,
                    "With --from-apns: only these countries (ISO codes or English names, "
                    "separated by commas)")
      ->needs(apnsInput);
  build->add_option("-o,--output", outRequired, "oper.db file to write")->required();

  CLI::App* batch = command(
      app, "batch",
      "Write one settings file per camera, FOLDER/NAME/menu.cfg, from a base file and a CSV "
      "table with a header of field names and a row per camera (column 'camera' names the "
      "folder). Every value is checked as 'set' checks it; nothing is written when any is "
      "refused.",
      "tarnwick-cfg batch base.cfg cameras.csv -o cards");
  BatchOptions batchOptions;
  batch->add_option("BASE", batchOptions.basePath, "Settings file every camera starts from")
      ->required();
  batch->add_option("CSV", batchOptions.csvPath, "Table with a row per camera")->required();
  batch->add_option("-o,--output", batchOptions.folder, "Folder to write the cameras' folders in")
      ->required();
  batch->add_flag("--force", batchOptions.force, "Replace settings files that exist");

  CLI::App* check = command(
      app, "check",
      "List the values the camera is unlikely to accept, one a line; exit 0 when there are "
      "none, 1 when there are, 2 when a file cannot be read.",
      "tarnwick-cfg check cards/*/menu.cfg");
  std::vector<std::string> checkFiles;
  check->add_option("FILE", checkFiles, "Settings files")->required();
  check->add_flag("--json", json, "Write the findings as JSON");
  check->add_option("--db", dbPath, "Check operator positions against this oper.db");

  CLI::App* cards = command(
      app, "cards",
      "List the memory cards in the PC (mounted removable volumes) and, for each, what the "
      "menu.cfg at its root holds; exit 0 when there is a card, 1 when there is none.",
      "tarnwick-cfg cards");
  CardsOptions cardsOptions;
  cards->add_flag("--json", cardsOptions.json, "Write the cards as JSON");
  cards->add_option("--db", cardsOptions.dbPath,
                    "Check operator positions against this oper.db");
  cards->add_option("--root", cardsOptions.systemRoot,
                    "Read the mounts of a Linux system laid out below this folder (tests)");

  CLI::App* ui = command(app, "ui", "Run the program without windows, driven by a UI script.",
                         "tarnwick-cfg ui startup.ui");
  ui->add_option("SCRIPT", file, "UI script")->required();
  std::optional<std::string> uiRoot;
  ui->add_option("--root", uiRoot,
                 "Find memory cards in a Linux system laid out below this folder (tests)");

  // A first word that names no command would otherwise read as "a command is required".
  const auto named = [&app](const std::string& word) {
    const auto commands = app.get_subcommands([](const CLI::App*) { return true; });
    return std::any_of(commands.begin(), commands.end(),
                       [&word](const CLI::App* c) { return c->get_name() == word; });
  };
  if (argc > 1 && argv[1][0] != '-' && !named(argv[1])) {
    err << "tarnwick-cfg: " << escapeControls(argv[1])
        << ": no such command (see tarnwick-cfg --help)\n";
    return kExitUsage;
  }

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out << withNewline(app.help());
    return kExitOk;
  } catch (const CLI::CallForAllHelp&) {
    out << withNewline(app.help("", CLI::AppFormatMode::All));
    return kExitOk;
  } catch (const CLI::CallForVersion&) {
    out << kVersion << "\n";
    return kExitOk;
  } catch (const CLI::ParseError& e) {
    err << "tarnwick-cfg: " << escapeControls(e.what()) << " (see " << commandPath(app)
        << " --help)\n";
    return kExitUsage;
  } catch (const std::exception& e) {
    err << "tarnwick-cfg: " << escapeControls(e.what()) << "\n";
    return kExitUsage;
  }

  const Io io{out, err};
  try {
    if (newCmd->parsed()) return commandNew(io, newPath, force);
    if (show->parsed()) return commandShow(io, file, json);
    if (get->parsed()) return commandGet(io, file, items);
    if (set->parsed()) return commandSet(io, file, items, outPath);
    if (exportCmd->parsed()) return commandExport(io, file, outPath, force);
    if (importCmd->parsed()) return commandImport(io, file, importOut, force);
    if (diff->parsed()) return commandDiff(io, file, fileB);
    if (operators->parsed()) return commandOperators(io, dbPath, json);
    if (dump->parsed()) return commandOperDbDump(io, file, json);
    if (build->parsed()) {
      if (apnsPath) return commandOperDbFromApns(io, *apnsPath, outRequired, countries);
      if (file.empty()) {
        err << "tarnwick-cfg: oper-db build needs a JSON table or --from-apns (see tarnwick-cfg "
               "oper-db build --help)\n";
        return kExitUsage;
      }
      return commandOperDbBuild(io, file, outRequired);
    }
    if (batch->parsed()) return commandBatch(io, batchOptions);
    if (check->parsed()) return commandCheck(io, checkFiles, json, dbPath);
    if (cards->parsed()) return commandCards(io, cardsOptions);
    if (ui->parsed()) return commandUi(io, file, uiRoot);
  } catch (const std::bad_alloc&) {
    err << "tarnwick-cfg: not enough memory for this command\n";
    return kExitFailed;
  } catch (const std::exception& e) {
    // Only resource exhaustion can get here (a thread or a stream that cannot be had): say so
    // and stop.
    err << "tarnwick-cfg: " << escapeControls(e.what()) << "\n";
    return kExitFailed;
  }
  err << "tarnwick-cfg: no command given (see tarnwick-cfg --help)\n";
  return kExitUsage;
}

}  // namespace tarnwick::cli
