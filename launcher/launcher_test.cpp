// The launcher as a user starts it: the program Quillory in a temporary
// installation (the stand-in Quillory.jar, jre/bin/javaw.exe a link to this
// machine's java) with a registry file of the test's own; headless but for
// the first test, whose splash shows on an X server of its own.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "launcher/launcher.h"
#include "testsupport/ansipath.h"
#include "testsupport/scratchfolder.h"
#include "testsupport/wholefile.h"
#include "platform/testing.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// How long a launcher may run: the splash's four seconds, with room for a
// loaded machine.
constexpr std::chrono::seconds kLimit{30};

using testsupport::readFile;
using testsupport::writeFile;

// A path as the launcher names it, in its log, its boxes and the registry:
// in the ANSI code page.
std::string ansi(const fs::path& path) { return testsupport::ansiPath(path.string()); }

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// A .reg file with the launcher's key holding these "Name"=... lines.
std::string registry(const std::string& values) {
    return "Windows Registry Editor Version 5.00\r\n\r\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenvall\\Quillory\\3.0]\r\n" +
           values + "\r\n";
}

std::string regString(const std::string& name, const std::string& value) {
    std::string escaped;
    for (char c : value) {
        if (c == '\\' || c == '"') escaped += '\\';
        escaped += c;
    }
    return "\"" + name + "\"=\"" + escaped + "\"\r\n";
}

struct LaunchResult {
    int status = -1;  // as the shell sees it
    pid_t pid = 0;
    std::string stderrText;
    std::vector<std::string> log;
    double seconds = 0;
};

class LauncherTest : public ::testing::Test {
protected:
    // An installation: the archive and, unless asked otherwise, the runtime.
    fs::path install(const fs::path& dir, bool withJava = true) {
        fs::create_directories(dir / "jre" / "bin");
        fs::copy_file(STANDIN_JAR, dir / "Quillory.jar");
        if (withJava) fs::create_symlink(JAVA_PATH, dir / "jre" / "bin" / "javaw.exe");
        return dir;
    }

    LaunchResult launch(const fs::path& cwd, const std::string& registryText,
                        const std::vector<std::string>& arguments = {}) {
        writeFile(m_work / "registry.reg", registryText);
        const fs::path errors = m_work / "stderr.txt";
        // Everything the child needs is made before fork: another thread of
        // this test may hold a lock at that moment.
        std::vector<std::string> environment{
            "QUILLORY_REGISTRY=" + (m_work / "registry.reg").string(),
            "QUILLORY_LAUNCH_RECORD=" + record().string(), "LC_ALL=C.UTF-8"};
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string variable = *entry;
            // Headless message boxes, unless the test started an X server.
            if (variable.rfind("LC_ALL=", 0) != 0 && (m_onX || variable.rfind("DISPLAY=", 0) != 0))
                environment.push_back(variable);
        }
        std::vector<char*> envp;
        for (std::string& variable : environment) envp.push_back(variable.data());
        envp.push_back(nullptr);
        std::vector<char*> argv{const_cast<char*>(QUILLORY_PATH)};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);

        const Clock::time_point start = Clock::now();
        LaunchResult run;
        run.pid = fork();
        if (run.pid == 0) {
            const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (chdir(cwd.c_str()) != 0 || fd < 0 || dup2(fd, 2) < 0) _exit(120);
            execve(QUILLORY_PATH, argv.data(), envp.data());
            _exit(121);
        }
        // Bounded: a launcher that waits for what nobody answers, such as a
        // message box on the test's X server, fails the test instead of
        // holding it.
        int status = 0;
        pid_t ended = 0;
        while ((ended = waitpid(run.pid, &status, WNOHANG)) == 0 && Clock::now() - start < kLimit)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (ended == 0) {
            kill(run.pid, SIGKILL);
            waitpid(run.pid, &status, 0);
            ADD_FAILURE() << "the launcher ran longer than " << kLimit.count() << " s: ended";
        }
        run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.stderrText = readFile(errors);
        run.log = lines(readFile(cwd / "log.txt"));
        return run;
    }

    fs::path record() const { return m_work / "launch-record.txt"; }

    // What the stand-in application wrote, once it has (at most a minute).
    std::vector<std::string> awaitRecord() {
        for (int i = 0; i < 600 && !fs::exists(record()); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return lines(readFile(record()));
    }

    testsupport::ScratchFolder m_scratch{"quillory-"};
    const fs::path m_work = m_scratch.path();
    bool m_onX = false;
};

// The size and place of the mapped top-level window titled name, once it
// shows (at most three seconds); all 0 if it never does.
XWindowAttributes awaitWindow(Display* display, const char* name) {
    XWindowAttributes found{};
    for (int attempt = 0; attempt < 300 && found.width == 0; ++attempt) {
        Window root;
        Window parent;
        Window* children = nullptr;
        unsigned count = 0;
        XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count; ++i) {
            char* title = nullptr;
            XWindowAttributes attributes{};
            if (XFetchName(display, children[i], &title) != 0 && title != nullptr &&
                std::string(title) == name &&
                XGetWindowAttributes(display, children[i], &attributes) &&
                attributes.map_state == IsViewable)
                found = attributes;
            if (title != nullptr) XFree(title);
        }
        if (children != nullptr) XFree(children);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return found;
}

std::vector<std::string> startMarks(const fs::path& cwd, const char* language = "(null)") {
    return {"Satellite path: " + ansi(cwd) + "\\bin\\" + language + "\\Satellite.dll",
            "mark 100"};
}

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Up to the start of the Java runtime.
std::vector<std::string> javaMarks(const fs::path& root, const std::string& commandLine) {
    const std::string r = ansi(root);
    return {"mark 150", "mark 210",
            "mark 211: jarOption: -Dsun.java2d.d3d=false -jar \"" + r + "\\Quillory.jar\" \"" + r +
                "\" " + commandLine,
            "mark 211: javaexePath: " + r + "\\jre\\bin\\javaw.exe", "mark 211: rootDir: " + r};
}

const std::vector<std::string> kSplashMarks{"mark 220", "mark 230", "mark 251", "mark 260"};

// The box and the marks of a start that finds no installation directory.
const char kNoInstallationText[] =
    "Quillory konnte das Installationsverzeichnis nicht bestimmen.\n"
    "Offenbar sind die Registry-Einstellungen nicht korrekt.\n"
    "Das Programm kann nicht gestartet werden.";
const std::vector<std::string> kNoInstallationMarks{"mark 110", "mark 111", "mark 112",
                                                    "mark 120", "mark 121", "mark 122",
                                                    "mark 999 1"};

// Fields of /proc/PID/stat after the command's name: state, ppid, pgrp, session.
std::vector<std::string> statFields(const std::string& stat) {
    std::istringstream in(stat.substr(stat.rfind(')') + 2));
    std::vector<std::string> fields;
    for (std::string field; in >> field;) fields.push_back(field);
    return fields;
}

}  // namespace

TEST_F(LauncherTest, StartedInTheInstallationRunsJavaThereAndEndsAfterTheSplash) {
    const fs::path root = install(m_work / "Quillory 3");
    // Where Xvfb runs, the splash is a real window on it, centred.
    m_onX = platform::testing::startXvfb();
    Display* display = m_onX ? XOpenDisplay(nullptr) : nullptr;
    std::future<LaunchResult> launched =
        std::async(std::launch::async, [&] { return launch(root, ""); });
    if (display != nullptr) {
        const XWindowAttributes splash = awaitWindow(display, "Quillory");
        EXPECT_EQ(splash.width, 600);
        EXPECT_EQ(splash.height, 400);
        EXPECT_EQ(splash.x, (DisplayWidth(display, 0) - 600) / 2);
        EXPECT_EQ(splash.y, (DisplayHeight(display, 0) - 400) / 2);
        XCloseDisplay(display);
    }
    const LaunchResult run = launched.get();
    if (m_onX) platform::testing::stopXvfb();
    EXPECT_EQ(run.status, 0) << run.stderrText;
    EXPECT_GE(run.seconds, 3.9);
    EXPECT_LT(run.seconds, 30.0);
    EXPECT_EQ(run.log, concat(concat(startMarks(root), javaMarks(root, "")), kSplashMarks));

    const std::vector<std::string> record = awaitRecord();
    ASSERT_EQ(record.size(), 4u) << readFile(this->record());
    EXPECT_EQ(record[0], "cwd=" + root.string());
    EXPECT_EQ(record[1], "d3d=false");
    EXPECT_EQ(record[3], "arg=" + root.string());
}

TEST_F(LauncherTest, StartedElsewhereFindsTheRegistrysInstallationAndJavaOutlivesIt) {
    const fs::path root = install(m_work / "installed");
    fs::create_directories(m_work / "desktop");
    const LaunchResult run =
        launch(m_work / "desktop", registry(regString("RootDirectory", ansi(root))),
               {"--linger", "Sch\xC3\xB6ne Gr\xC3\xBC\xC3\x9F" "e", "C:\\a b\\"});
    EXPECT_EQ(run.status, 0) << run.stderrText;
    const std::vector<std::string> found =
        concat(startMarks(m_work / "desktop"), {"mark 110", "mark 111", "mark 130"});
    const std::string commandLine = "--linger \"Sch\xF6ne Gr\xFC\xDF" "e\" \"C:\\a b\\\\\"";
    EXPECT_EQ(run.log, concat(concat(found, javaMarks(root, commandLine)), kSplashMarks));

    const std::vector<std::string> record = awaitRecord();
    ASSERT_EQ(record.size(), 7u) << readFile(this->record());
    EXPECT_EQ(record[0], "cwd=" + root.string());
    EXPECT_EQ(record[3], "arg=" + root.string());
    EXPECT_EQ(record[4], "arg=--linger");
    EXPECT_EQ(record[5], "arg=Sch\xC3\xB6ne Gr\xC3\xBC\xC3\x9F" "e");
    EXPECT_EQ(record[6], "arg=C:\\a b\\");

    // Java runs on after the launcher, in a session of its own, and is no
    // child of the launcher's.
    const std::vector<std::string> stat = statFields(record[2]);
    ASSERT_GE(stat.size(), 4u);
    EXPECT_NE(stat[1], std::to_string(run.pid));
    EXPECT_NE(stat[3], std::to_string(getsid(0)));
    const pid_t java = std::stoi(record[2].substr(5));
    EXPECT_EQ(kill(java, 0), 0);
    EXPECT_FALSE(fs::exists(this->record().string() + ".done"));
    writeFile(this->record().string() + ".release", "");
    for (int i = 0; i < 600 && !fs::exists(this->record().string() + ".done"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(fs::exists(this->record().string() + ".done"));
}

TEST_F(LauncherTest, ARootDirectoryWithATrailingBackslashReachesJavaApartFromTheCommandLine) {
    const fs::path root = install(m_work / "installed");
    const fs::path desktop = m_work / "desktop";
    fs::create_directories(desktop);
    // As installers write it. Before the closing quote, the backslash made
    // that quote part of the root directory, which took the command line in.
    const std::string written = registry(regString("RootDirectory", ansi(root) + "\\"));
    const struct {
        std::vector<std::string> arguments;
        std::string commandLine;
    } cases[] = {
        {{}, ""},
        {{"--lesson", "3 4"}, "--lesson \"3 4\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine);
        fs::remove(record());
        const LaunchResult run = launch(desktop, written, c.arguments);
        EXPECT_EQ(run.status, 0) << run.stderrText;
        const std::vector<std::string> found =
            concat(startMarks(desktop), {"mark 110", "mark 111", "mark 130"});
        EXPECT_EQ(run.log, concat(concat(found, javaMarks(root, c.commandLine)), kSplashMarks));

        std::vector<std::string> record = awaitRecord();
        ASSERT_EQ(record.size(), 4 + c.arguments.size()) << readFile(this->record());
        record.erase(record.begin() + 2);  // the process
        std::vector<std::string> expected{"cwd=" + root.string(), "d3d=false",
                                          "arg=" + root.string()};
        for (const std::string& argument : c.arguments) expected.push_back("arg=" + argument);
        EXPECT_EQ(record, expected);
    }
}

TEST(InstallationDirectory, LosesTrailingBackslashesButARootKeepsOne) {
    const struct {
        const char* written;
        const char* held;
    } cases[] = {
        {"C:\\Quillory 3\\", "C:\\Quillory 3"},
        {"C:\\a\\\\\\", "C:\\a"},
        {"\\\\server\\share\\", "\\\\server\\share"},
        // "C:" is the drive's current directory, "" none at all.
        {"C:\\", "C:\\"},
        {"C:\\\\", "C:\\"},
        {"C:", "C:"},
        {"\\", "\\"},
        {"\\\\\\", "\\"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withoutTrailingBackslashes(c.written), c.held) << c.written;
}

TEST_F(LauncherTest, ExplainsEachFailureInOneMessageBox) {
    // An installation path longer than any fixed buffer the launcher had.
    fs::path deep = m_work;
    for (int i = 0; i < 12; ++i) deep /= std::string(200, static_cast<char>('a' + i));
    const fs::path noJava = install(deep, false);
    const fs::path noJar = m_work / "empty";
    fs::create_directories(noJar);
    const fs::path cannotRun = install(m_work / "cannot run", false);
    writeFile(cannotRun / "jre" / "bin" / "javaw.exe", "#!/bin/sh\n");
    const fs::path english = m_work / "english";
    fs::create_directories(english / "bin" / "English");
    fs::copy_file(ENGLISH_SATELLITE, english / "bin" / "English" / "Satellite.dll");
    // Language libraries that lack strings: the program's own stand in.
    const fs::path lacking = m_work / "lacking";
    fs::create_directories(lacking / "bin" / "Bild");
    fs::create_directories(lacking / "bin" / "Teilweise");
    fs::copy_file(BITMAP_ONLY_SATELLITE, lacking / "bin" / "Bild" / "Satellite.dll");
    fs::copy_file(PARTIAL_SATELLITE, lacking / "bin" / "Teilweise" / "Satellite.dll");
    const std::string bitmapOnly = regString("Language", "Bild");

    std::string rootNoZero;  // hex(1): UTF-16LE without a terminating zero
    for (wchar_t c : testsupport::widened(CP_ACP, ansi(noJava))) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02x,%02x", static_cast<unsigned>(c) & 0xFF,
                      (static_cast<unsigned>(c) >> 8) & 0xFF);
        rootNoZero += (rootNoZero.empty() ? "" : ",") + std::string(hex);
    }

    const std::string m2 =
        "Quillory konnte die Datei Quillory.jar nicht finden. Stellen Sie sicher,\n"
        "dass sich diese Datei im Installationsverzeichnis befindet und die Einstellungen\n"
        "in der Registry korrekt sind. Das Programm kann nicht gestartet werden.";
    // A box without a display shows on standard error in UTF-8.
    const std::string m4 = "Quillory kann nicht gestartet werden, da\njre\\bin\\javaw.exe nicht "
                           "unter\n" + noJava.string() + "\ngefunden werden konnte.";
    const std::vector<std::string> m2Marks{"mark 110", "mark 111", "mark 130", "mark 135",
                                           "mark 140", "mark 141", "mark 142", "mark 999 2"};
    const std::vector<std::string> m4Marks{"mark 110", "mark 111", "mark 130",
                                           "mark 150", "mark 210", "mark 300"};
    const struct {
        const char* name;
        fs::path cwd;
        std::string registryText;
        std::string message;
        std::vector<std::string> log;
        std::string caption = "Quillory Launcher";
    } failures[] = {
        {"no RootDirectory", noJar, registry(regString("Language", "Deutsch")),
         kNoInstallationText, concat(startMarks(noJar, "Deutsch"), kNoInstallationMarks)},
        {"no Quillory.jar under RootDirectory", noJar,
         registry(regString("RootDirectory", ansi(noJar))), m2,
         concat(startMarks(noJar), m2Marks)},
        {"no javaw.exe", noJava, "", m4,
         concat(startMarks(noJava), {"mark 150", "mark 210", "mark 300"})},
        {"RootDirectory stored without its zero", noJar,
         registry("\"RootDirectory\"=hex(1):" + rootNoZero + "\r\n"), m4,
         concat(startMarks(noJar), m4Marks)},
        {"javaw.exe may not run", cannotRun, "", "Quillory kann nicht gestartet werden.",
         concat(concat(startMarks(cannotRun), javaMarks(cannotRun, "")),
                {"mark 212", "mark 999 3"})},
        {"English language library", english, registry(regString("Language", "English")),
         "Quillory could not determine the installation directory.\n"
         "The registry settings seem to be wrong.\nThe program cannot be started.",
         concat(startMarks(english, "English"), kNoInstallationMarks),
         "Quillory Launcher (English)"},
        {"language library with a bitmap alone, no RootDirectory", lacking, registry(bitmapOnly),
         kNoInstallationText, concat(startMarks(lacking, "Bild"), kNoInstallationMarks)},
        {"language library with a bitmap alone, no Quillory.jar", lacking,
         registry(bitmapOnly + regString("RootDirectory", ansi(noJar))), m2,
         concat(startMarks(lacking, "Bild"), m2Marks)},
        {"language library with a bitmap alone, no javaw.exe", lacking,
         registry(bitmapOnly + regString("RootDirectory", ansi(noJava))), m4,
         concat(startMarks(lacking, "Bild"), m4Marks)},
        {"language library with some strings", lacking,
         registry(regString("Language", "Teilweise")),
         "Quillory konnte das Installationsverzeichnis nicht bestimmen.\n"
         "Die Registry nennt kein Verzeichnis.\nDas Programm kann nicht gestartet werden.",
         concat(startMarks(lacking, "Teilweise"), kNoInstallationMarks), "Quillory Starter"},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.name);
        const LaunchResult run = launch(failure.cwd, failure.registryText);
        EXPECT_EQ(run.status, 255);
        EXPECT_EQ(run.stderrText, failure.caption + ": " + failure.message + "\n");
        EXPECT_EQ(run.log, failure.log);
    }
}

TEST_F(LauncherTest, WhenTheXServerGoesAwayTheSplashRunsOutAndTheBoxGoesToStandardError) {
    const fs::path root = install(m_work / "installed");
    const fs::path noJar = m_work / "empty";
    fs::create_directories(noJar);
    const struct {
        const char* window;
        fs::path cwd;
        int status;
        const char* boxText;
        std::vector<std::string> log;
    } cases[] = {
        {"Quillory", root, 0, nullptr,
         concat(concat(startMarks(root), javaMarks(root, "")), kSplashMarks)},
        {"Quillory Launcher", noJar, 255, kNoInstallationText,
         concat(startMarks(noJar), kNoInstallationMarks)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        m_onX = platform::testing::startXvfb();
        if (!m_onX) GTEST_SKIP() << "Xvfb is missing or did not start";
        const std::string display = std::getenv("DISPLAY");
        Display* watcher = XOpenDisplay(nullptr);
        ASSERT_NE(watcher, nullptr);
        std::future<LaunchResult> launched =
            std::async(std::launch::async, [&] { return launch(c.cwd, ""); });
        EXPECT_GT(awaitWindow(watcher, c.window).width, 0);
        XCloseDisplay(watcher);
        platform::testing::stopXvfb();
        const LaunchResult run = launched.get();
        EXPECT_EQ(run.status, c.status) << run.stderrText;
        EXPECT_EQ(run.log, c.log);
        if (c.boxText == nullptr) {
            // The splash's four seconds, as its timer counts them.
            EXPECT_GE(run.seconds, 3.9);
        } else {
            const std::string box = "cannot reach display \"" + display +
                                    "\"\nQuillory Launcher: " + c.boxText + "\n";
            // A sanitizer build may add its report of excused leaks.
            EXPECT_EQ(run.stderrText.substr(0, box.size()), box);
        }
    }
}
