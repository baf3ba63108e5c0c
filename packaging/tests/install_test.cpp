// The show as `cmake --install` lays it out, in a scratch DESTDIR, run the way a user runs it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "packaging/tests/package_support.h"
#include "tests/support/test_support.h"

using package_support::Exists;
using package_support::IsExecutableFile;
using package_support::Quote;
using testing_support::ChildProcess;
using package_support::Sh;

namespace {

const std::string kPrefix = "/opt/glimmerset";

class InstalledTree : public ::testing::Test {
protected:
    void SetUp() override {
        stage = scratch.path + "/stage";
        int status = -1;
        std::string log = Sh("DESTDIR=" + Quote(stage) + " " + Quote(CMAKE_COMMAND) + " --install " +
                                  Quote(GLIMMERSET_BUILD_DIR) + " --prefix " + kPrefix + " 2>&1",
                              &status);
        ASSERT_EQ(status, 0) << log;
        tree = stage + kPrefix;
    }

    std::string At(const std::string& relative) const { return tree + "/" + relative; }

    package_support::TempDir scratch;
    std::string stage;
    std::string tree;
};

// What /proc says of a running process: its program ("exe") or working directory ("cwd").
std::string LinkOf(int pid, const char* what) {
    char target[PATH_MAX];
    ssize_t n = readlink(("/proc/" + std::to_string(pid) + "/" + what).c_str(), target, sizeof(target) - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : "";
}

TEST_F(InstalledTree, HoldsTheProgramsTheShowsFilesAndTheDesktopFiles) {
    std::vector<std::string> programs = {"glimmerset"};
    if (GLIMMERSET_HAS_CAPTURE) programs.push_back("glimmerset-capture");
    for (const std::string& program : programs) {
        EXPECT_TRUE(IsExecutableFile(At(GLIMMERSET_BINDIR "/" + program))) << "launcher " << program;
        EXPECT_TRUE(IsExecutableFile(At(GLIMMERSET_PROGRAM_DIR "/" + program))) << "program " << program;
        EXPECT_FALSE(Exists(At(GLIMMERSET_ASSET_INSTALL_DIR "/" + program))) << program << " among the show's files";
    }
    EXPECT_TRUE(Exists(At(GLIMMERSET_DATADIR "/applications/glimmerset.desktop")));
    EXPECT_TRUE(Exists(At(GLIMMERSET_MANDIR "/man6/glimmerset.6")));
    if (GLIMMERSET_HAS_CAPTURE) {
        EXPECT_TRUE(Exists(At(GLIMMERSET_MANDIR "/man6/glimmerset-capture.6")));
    }
    if (GLIMMERSET_HAS_ICON) {
        std::string icon = package_support::ReadFile(At(GLIMMERSET_ICON_DIR "/glimmerset.png"));
        ASSERT_GT(icon.size(), 24u) << "no icon";
        EXPECT_EQ(icon.substr(1, 3), "PNG");
    }

    // Every generated file, under its own name (bytes and all), unchanged.
    std::vector<std::string> assets = package_support::BuiltAssets();
    for (const std::string& name : assets) {
        std::string installed = At(GLIMMERSET_ASSET_INSTALL_DIR "/" + name);
        int status = -1;
        Sh("cmp -s " + Quote(testing_support::AssetDir() + "/" + name) + " " + Quote(installed), &status);
        EXPECT_EQ(status, 0) << name << " not installed as built";
    }
    std::string listing = Sh("ls -A " + Quote(At(GLIMMERSET_ASSET_INSTALL_DIR)) + " | wc -l");
    EXPECT_EQ(std::atoi(listing.c_str()), static_cast<int>(assets.size())) << "stray files in the show's folder";

    // Nothing written for the user points back into the build or at the prefix given here.
    for (std::string file : {std::string(GLIMMERSET_BINDIR "/glimmerset"), std::string(GLIMMERSET_DATADIR "/applications/glimmerset.desktop"),
                             std::string(GLIMMERSET_MANDIR "/man6/glimmerset.6")}) {
        std::string text = package_support::ReadFile(At(file));
        EXPECT_EQ(text.find(GLIMMERSET_BUILD_DIR), std::string::npos) << file << " names the build folder";
        EXPECT_EQ(text.find(kPrefix), std::string::npos) << file << " names the install prefix";
        EXPECT_EQ(text.find(stage), std::string::npos) << file << " names the staging folder";
    }
}

// The tree is moved after installing and the show started through a link to its launcher, from a
// folder with nothing of the show in it.
TEST_F(InstalledTree, LauncherPlaysTheShowInItsFolderAfterTheTreeIsMoved) {
    std::string moved = scratch.path + "/moved tree";
    ASSERT_EQ(rename(tree.c_str(), moved.c_str()), 0);
    tree = moved;
    std::string elsewhere = scratch.path + "/elsewhere";
    std::string links = scratch.path + "/links";
    Sh("mkdir -p " + Quote(elsewhere) + " " + Quote(links));
    std::string link = links + "/glimmerset";
    ASSERT_EQ(symlink(At(GLIMMERSET_BINDIR "/glimmerset").c_str(), link.c_str()), 0);

    ChildProcess show({link}, elsewhere);
    // The launcher replaces itself with the installed program, which runs in the installed show folder.
    char program[PATH_MAX], assets[PATH_MAX];
    ASSERT_NE(realpath(At(GLIMMERSET_PROGRAM_DIR "/glimmerset").c_str(), program), nullptr);
    ASSERT_NE(realpath(At(GLIMMERSET_ASSET_INSTALL_DIR).c_str(), assets), nullptr);
    std::string exe;
    for (int i = 0; i < 100 && show.Running() && exe != program; ++i) {
        exe = LinkOf(show.pid(), "exe");
        if (exe != program) Sh("sleep 0.05");
    }
    ASSERT_EQ(exe, program) << "the launcher did not start the installed show";
    EXPECT_EQ(LinkOf(show.pid(), "cwd"), assets) << "the show does not run in its installed folder";
    package_support::WatchShowAndEndWithEscape(show);
}

TEST_F(InstalledTree, CaptureLauncherReadsTheInstalledShowAndWritesWhereItWasStarted) {
    if (!GLIMMERSET_HAS_CAPTURE) GTEST_SKIP() << "the capture program is not part of this build";
    std::string elsewhere = scratch.path + "/elsewhere";
    Sh("mkdir -p " + Quote(elsewhere));
    int status = -1;
    std::string help = Sh("cd " + Quote(elsewhere) + " && " + Quote(At(GLIMMERSET_BINDIR "/glimmerset-capture")) +
                               " --help 2>&1",
                           &status);
    EXPECT_EQ(status, 0) << help;
    EXPECT_NE(help.find("--assets"), std::string::npos) << help;

    std::string log = Sh("cd " + Quote(elsewhere) + " && " + Quote(At(GLIMMERSET_BINDIR "/glimmerset-capture")) +
                              " -r 10 --duration 0.5 -s 160x120 --no-progress -o clip.mp4 2>&1",
                          &status);
    EXPECT_EQ(status, 0) << log;
    EXPECT_GT(package_support::ReadFile(elsewhere + "/clip.mp4").size(), 0u) << log;
    EXPECT_FALSE(Exists(At(GLIMMERSET_ASSET_INSTALL_DIR "/clip.mp4")));
    // Every file the show asks for is there, so nothing is reported missing.
    for (const char* kind : {".jpg", ".ebr", ".mp3"}) {
        EXPECT_EQ(log.find(kind), std::string::npos) << "a file of the show was not found:\n" << log;
    }
}

}  // namespace
