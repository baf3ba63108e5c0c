// The Debian package the fixture built: what it holds, what it asks apt for, and (as root) a real
// install with apt, the installed show played, and a purge that leaves nothing of it behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "packaging/tests/package_support.h"
#include "tests/support/test_support.h"

using package_support::Exists;
using package_support::Quote;
using package_support::Sh;

namespace {

std::string Trim(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    size_t start = text.find_first_not_of(' ');
    return start == std::string::npos ? "" : text.substr(start);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

std::string DebFile() {
    std::string arch = Trim(Sh("dpkg --print-architecture"));
    return std::string(GLIMMERSET_DEB_DIR) + "/glimmerset_" GLIMMERSET_VERSION "_" + arch + ".deb";
}

std::string Field(const std::string& deb, const std::string& name) {
    return Trim(Sh("dpkg-deb -f " + Quote(deb) + " " + name));
}

// Package names in a Depends field, alternatives included, without versions or architectures.
std::set<std::string> DependencyNames(const std::string& depends) {
    std::set<std::string> names;
    std::string item;
    std::istringstream in(depends);
    while (std::getline(in, item, ',')) {
        std::istringstream alternatives(item);
        std::string alternative;
        while (std::getline(alternatives, alternative, '|')) {
            std::istringstream words(alternative);
            std::string name;
            words >> name;
            name = name.substr(0, name.find(':'));
            if (!name.empty()) names.insert(name);
        }
    }
    return names;
}

// Paths in the data part of the package, as the bytes they are ("./usr/bin/glimmerset").
std::vector<std::string> Contents(const std::string& deb) {
    std::vector<std::string> paths;
    for (std::string path : Lines(Sh("dpkg-deb --fsys-tarfile " + Quote(deb) + " | tar -t --quoting-style=literal"))) {
        if (path.size() > 1 && path.back() == '/') path.pop_back();
        paths.push_back(path);
    }
    return paths;
}

std::string Usr(const std::string& relative) { return "/usr/" + relative; }

std::vector<std::string> ExpectedFiles() {
    std::vector<std::string> files = {
        Usr(GLIMMERSET_BINDIR "/glimmerset"),
        Usr(GLIMMERSET_PROGRAM_DIR "/glimmerset"),
        Usr(GLIMMERSET_DATADIR "/applications/glimmerset.desktop"),
        Usr(GLIMMERSET_MANDIR "/man6/glimmerset.6"),
    };
    if (GLIMMERSET_HAS_CAPTURE) {
        files.push_back(Usr(GLIMMERSET_BINDIR "/glimmerset-capture"));
        files.push_back(Usr(GLIMMERSET_PROGRAM_DIR "/glimmerset-capture"));
        files.push_back(Usr(GLIMMERSET_MANDIR "/man6/glimmerset-capture.6"));
    }
    if (GLIMMERSET_HAS_ICON) files.push_back(Usr(GLIMMERSET_ICON_DIR "/glimmerset.png"));
    for (const std::string& name : package_support::BuiltAssets()) {
        files.push_back(Usr(GLIMMERSET_ASSET_INSTALL_DIR "/" + name));
    }
    return files;
}

// The installed package that holds a library file, found by the loader's path or the file it links
// to, under /usr or not (/lib is /usr/lib, and a package lists the one it ships).
std::string PackageHolding(const std::string& path) {
    std::vector<std::string> names = {path, Trim(Sh("realpath " + Quote(path)))};
    for (size_t i = 0, n = names.size(); i < n; ++i) {
        const std::string& name = names[i];
        names.push_back(name.compare(0, 5, "/usr/") == 0 ? name.substr(4) : "/usr" + name);
    }
    for (const std::string& name : names) {
        std::string owner = Trim(Sh("dpkg-query -S " + Quote(name) + " 2>/dev/null | head -n1 | cut -d: -f1"));
        if (!owner.empty()) return owner;
    }
    return "";
}

class DebPackage : public ::testing::Test {
protected:
    void SetUp() override {
        deb = DebFile();
        ASSERT_TRUE(Exists(deb)) << deb << " was not built; files there:\n" << Sh("ls -l " GLIMMERSET_DEB_DIR);
    }
    std::string deb;
};

TEST_F(DebPackage, IsNamedForItsVersionAndHoldsTheInstalledTree) {
    EXPECT_EQ(Field(deb, "Package"), "glimmerset");
    EXPECT_EQ(Field(deb, "Version"), GLIMMERSET_VERSION);
    EXPECT_EQ(Field(deb, "Architecture"), Trim(Sh("dpkg --print-architecture")));
    EXPECT_NE(Field(deb, "Maintainer").find('@'), std::string::npos);
    EXPECT_FALSE(Field(deb, "Description").empty());

    std::vector<std::string> contents = Contents(deb);
    std::set<std::string> held;
    for (const std::string& path : contents) {
        ASSERT_EQ(path.compare(0, 1, "."), 0) << path;
        held.insert(path.substr(1));
        EXPECT_TRUE(path == "." || path == "./usr" || path.compare(0, 6, "./usr/") == 0) << "outside /usr: " << path;
    }
    for (const std::string& file : ExpectedFiles()) {
        EXPECT_TRUE(held.count(file)) << "missing from the package: " << file;
    }
    // The launchers, as packaged, find the rest relative to themselves.
    package_support::TempDir unpacked;
    int status = -1;
    Sh("dpkg-deb -x " + Quote(deb) + " " + Quote(unpacked.path), &status);
    ASSERT_EQ(status, 0);
    std::string launcher = package_support::ReadFile(unpacked.path + Usr(GLIMMERSET_BINDIR "/glimmerset"));
    EXPECT_NE(launcher.find("#!/bin/sh"), std::string::npos);
    EXPECT_EQ(launcher.find("/usr/"), std::string::npos) << launcher;
    EXPECT_EQ(launcher.find("_CPack_Packages"), std::string::npos) << launcher;
    EXPECT_TRUE(package_support::IsExecutableFile(unpacked.path + Usr(GLIMMERSET_PROGRAM_DIR "/glimmerset")));
}

// Every library a packaged program links is asked for, by the package this system has it from, and
// so are Mesa's drivers (software OpenGL) and, with the capture program, ffmpeg.
TEST_F(DebPackage, DependsOnWhatItsProgramsLinkAndRun) {
    std::set<std::string> depends = DependencyNames(Field(deb, "Depends"));
    std::string listed;
    for (const std::string& name : depends) listed += " " + name;

    package_support::TempDir unpacked;
    int status = -1;
    Sh("dpkg-deb -x " + Quote(deb) + " " + Quote(unpacked.path), &status);
    ASSERT_EQ(status, 0);
    std::vector<std::string> programs = {"glimmerset"};
    if (GLIMMERSET_HAS_CAPTURE) programs.push_back("glimmerset-capture");
    // Each library a program links, with the file the loader picks for it here.
    std::map<std::string, std::string> needed;
    for (const std::string& program : programs) {
        std::string path = unpacked.path + Usr(GLIMMERSET_PROGRAM_DIR "/" + program);
        std::string dynamic = Sh("readelf -d " + Quote(path) + " | sed -n 's/.*(NEEDED).*\\[\\(.*\\)\\]/\\1/p'");
        for (const std::string& soname : Lines(dynamic)) {
            needed[soname] = Trim(Sh("ldd " + Quote(path) + " | awk -v n=" + Quote(soname) + " '$1 == n { print $3 }'"));
        }
    }
    // The show's own libraries, whatever else it grows to need.
    EXPECT_TRUE(needed.count("libSDL2-2.0.so.0"));
    EXPECT_TRUE(needed.count("libGL.so.1"));

    for (const auto& [soname, path] : needed) {
        ASSERT_FALSE(path.empty()) << "cannot find " << soname << " on this system";
        std::string owner = PackageHolding(path);
        ASSERT_FALSE(owner.empty()) << "no package holds " << path;
        EXPECT_TRUE(depends.count(owner)) << soname << " comes from " << owner << ", not in Depends:" << listed;
    }
    EXPECT_TRUE(depends.count("libgl1-mesa-dri")) << listed;
    if (GLIMMERSET_HAS_CAPTURE) {
        EXPECT_TRUE(depends.count("ffmpeg")) << listed;
    }
}

bool Installed() {
    int status = -1;
    Sh("dpkg-query -W glimmerset >/dev/null 2>&1", &status);
    return status == 0;
}

// Purges the package on the way out, whatever happened in between.
struct Purge {
    ~Purge() {
        if (Installed()) Sh("DEBIAN_FRONTEND=noninteractive apt-get remove -y -q --purge glimmerset >/dev/null 2>&1");
    }
};

const char kApt[] = "DEBIAN_FRONTEND=noninteractive timeout 300 apt-get -y -q -o Dpkg::Use-Pty=0 ";

TEST_F(DebPackage, InstallsWithAptPlaysAndPurgesCleanly) {
    if (getuid() != 0) GTEST_SKIP() << "installing the package with apt needs root; run the tests as root to check it";
    if (Installed()) GTEST_SKIP() << "a glimmerset package is installed on this machine already; leaving it alone";

    Purge purge;
    int status = -1;
    std::string log = Sh(kApt + std::string("install --no-install-recommends ") + Quote(deb) + " 2>&1", &status);
    ASSERT_EQ(status, 0) << log;

    std::vector<std::string> files = Lines(Sh("dpkg -L glimmerset"));
    for (const std::string& file : ExpectedFiles()) {
        EXPECT_TRUE(std::find(files.begin(), files.end(), file) != files.end()) << "not installed: " << file;
        EXPECT_TRUE(Exists(file)) << file;
    }
    std::vector<std::string> plainFiles;
    for (const std::string& path : files) {
        struct stat info;
        if (lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) plainFiles.push_back(path);
    }

    // Started by name, the way the desktop entry starts it, from a folder of its own.
    package_support::TempDir elsewhere;
    testing_support::ChildProcess show({"/bin/sh", "-c", "exec glimmerset"}, elsewhere.path);
    package_support::WatchShowAndEndWithEscape(show);

    log = Sh(kApt + std::string("remove --purge glimmerset 2>&1"), &status);
    ASSERT_EQ(status, 0) << log;
    Sh("dpkg -L glimmerset >/dev/null 2>&1", &status);
    EXPECT_NE(status, 0) << "dpkg still knows the package";
    for (const std::string& path : plainFiles) EXPECT_FALSE(Exists(path)) << "left behind: " << path;
    for (const std::string& dir : {Usr(GLIMMERSET_PROGRAM_DIR), Usr(GLIMMERSET_ASSET_INSTALL_DIR)}) {
        EXPECT_FALSE(Exists(dir)) << "left behind: " << dir;
    }
}

}  // namespace
