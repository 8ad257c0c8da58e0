// quarnel-pack: builds the patch package that updates a game folder from one version to
// the next, and records it in the launcher manifest.
#include <boost/program_options.hpp>
#include <clocale>
#include <filesystem>
#include <iostream>
#include <optional>
#include <thread>

#include "pack_error.h"
#include "package_builder.h"
#include "platform/terminal.h"
#include "platform/text_encoding.h"
#include "progress_meter.h"

namespace po = boost::program_options;

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct CommandLine {
  std::string oldFolder, newFolder, fromVersion, toVersion, outputFolder, manifestPath;
  unsigned jobs = 0;
  int level = 5;
  std::uint64_t sourceWindowMiB = 1024;
  bool quiet = false;
};

po::options_description Options(CommandLine& line) {
  po::options_description options(
      "Usage: quarnel-pack --old DIR --new DIR --from VERSION --to VERSION [options]\n\n"
      "Compares two versions of a game folder and writes the package <from>-<to>.7z that the\n"
      "installer applies: files only in the new version are added, files only in the old one\n"
      "are deleted, and changed files are rebuilt from xdelta3 deltas. The client patch, with\n"
      "the package's length and CRC-32, is recorded in the launcher manifest index.xml.\n"
      "Needs 7z and xdelta3, beside quarnel-pack or on PATH.\n\n"
      "Warnings go to standard error: a change of profile\\ServerList.ini (the installer never\n"
      "patches it, so it is left out), and files left out because an index cannot name them.\n"
      "Exit status: 0 done; 1 failed, with the output folder and manifest as they were;\n"
      "2 wrong usage.\n\nOptions");
  options.add_options()
      ("old", po::value(&line.oldFolder)->value_name("DIR")->required(),
       "the game folder of the version players have")
      ("new", po::value(&line.newFolder)->value_name("DIR")->required(),
       "the game folder of the version the package leads to")
      ("from", po::value(&line.fromVersion)->value_name("VERSION")->required(),
       "the old client version, as CurClientVersion names it in profile/Launcher.cfg")
      ("to", po::value(&line.toVersion)->value_name("VERSION")->required(), "the new client version")
      ("output", po::value(&line.outputFolder)->value_name("DIR")->default_value("."),
       "folder that receives <from>-<to>.7z (created when missing; a package of the same name is replaced)")
      ("manifest", po::value(&line.manifestPath)->value_name("FILE"),
       "launcher manifest to update, or to create when missing (default: index.xml in the output folder)")
      ("jobs,j", po::value(&line.jobs)->value_name("N"),
       "files compared and deltas made at the same time (default: one per processor core)")
      ("level", po::value(&line.level)->value_name("0-9")->default_value(5),
       "7z compression level of the package")
      ("source-window", po::value(&line.sourceWindowMiB)->value_name("MIB")->default_value(1024),
       "largest xdelta3 source window, 64 to 2047: content moved within a file is found when the "
       "file is at most this large; each running xdelta3 may take about twice this in memory")
      ("quiet,q", po::bool_switch(&line.quiet), "no progress line on the terminal")
      ("help,h", "show this help and exit");
  return options;
}

std::wstring Wide(const std::string& argument, const char* option) {
  const std::optional<std::wstring> wide = platform::FromUtf8(argument);
  if (!wide) throw PackError(std::string("--") + option + " is not UTF-8");
  return *wide;
}

std::wstring AbsoluteFolder(const std::string& argument, const char* option) {
  return Wide(std::filesystem::absolute(argument).lexically_normal().string(), option);
}

PackRequest RequestFrom(const CommandLine& line) {
  PackRequest request;
  request.oldFolder = AbsoluteFolder(line.oldFolder, "old");
  request.newFolder = AbsoluteFolder(line.newFolder, "new");
  request.fromVersion = Wide(line.fromVersion, "from");
  request.toVersion = Wide(line.toVersion, "to");
  request.outputFolder = AbsoluteFolder(line.outputFolder, "output");
  request.manifestPath = line.manifestPath.empty()
                             ? AbsoluteFolder((std::filesystem::path(line.outputFolder) / "index.xml").string(), "output")
                             : AbsoluteFolder(line.manifestPath, "manifest");
  request.jobs = line.jobs != 0 ? line.jobs : std::max(1u, std::thread::hardware_concurrency());
  if (line.level < 0 || line.level > 9) throw PackError("--level must lie between 0 and 9");
  request.compressionLevel = line.level;
  if (line.sourceWindowMiB < 64 || line.sourceWindowMiB > 2047) {
    throw PackError("--source-window must lie between 64 and 2047 MiB");
  }
  request.sourceWindowLimit = line.sourceWindowMiB << 20;
  request.showProgress = !line.quiet && platform::StandardErrorIsTerminal();
  return request;
}

void Warn(const std::wstring& warning) { std::cerr << "quarnel-pack: warning: " << platform::ToUtf8(warning) << '\n'; }

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "C.UTF-8");  // letter case of names outside ASCII
  CommandLine line;
  const po::options_description options = Options(line);
  po::variables_map values;
  try {
    po::store(po::parse_command_line(argc, argv, options), values);
    if (values.count("help")) {
      std::cout << options << '\n';
      return 0;
    }
    po::notify(values);
  } catch (const po::error& error) {
    std::cerr << "quarnel-pack: " << error.what() << "\nTry quarnel-pack --help.\n";
    return kExitUsage;
  }
  try {
    const PackSummary summary = BuildPackage(RequestFrom(line), Warn);
    std::cout << platform::ToUtf8(summary.packagePath) << ": " << summary.addedCount << " added, "
              << summary.deletedCount << " deleted, " << summary.patchedCount << " patched; "
              << ByteCount(summary.patch.Size) << ", CRC " << summary.patch.Crc << '\n';
    return 0;
  } catch (const std::exception& error) {  // PackError, or the system out of memory or files
    std::cerr << "quarnel-pack: error: " << error.what() << '\n';
    return kExitFailure;
  }
}
