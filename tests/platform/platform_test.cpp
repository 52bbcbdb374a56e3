// tests/platform/platform_test.cpp -- the platform layer on this system:
// atomic replacement against failures, folders that cannot be written, the
// user's and the game's data folders and their overrides, names outside
// ASCII, and the path helpers.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>
#include "platform.h"

namespace {

std::string read_text(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_text(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Runs fn in a child without root's override of file permissions; returns
// its exit status (fn's result: 1 true, 0 false).
template <typename F> int as_unprivileged(F fn)
{
    pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && setuid(65534) != 0) _exit(3);
        _exit(fn() ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A scratch folder and clean environment variables per test.
class Platform : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override
    {
        char tmpl[] = "/tmp/hh_platform_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        chmod(dir.c_str(), 0777);
        for (const char *v : {"HILLHOPPER_DATA_HOME", "HILLHOPPER_GAME_DATA", "XDG_DATA_HOME"}) unsetenv(v);
    }
    void TearDown() override
    {
        for (const char *v : {"HILLHOPPER_DATA_HOME", "HILLHOPPER_GAME_DATA", "XDG_DATA_HOME"}) unsetenv(v);
        std::string cmd = "chmod -R u+w '" + dir + "'; rm -rf '" + dir + "'";
        if (system(cmd.c_str()) != 0) ADD_FAILURE();
    }
};

}  // namespace

TEST(PlatformPaths, JoinAndFolderPart)
{
    EXPECT_EQ(path_join("a", "b"), "a/b");
    EXPECT_EQ(path_join("a/", "b"), "a/b");
    EXPECT_EQ(path_join("", "b"), "b");
    EXPECT_EQ(path_join("a", "/abs"), "/abs");
    EXPECT_EQ(path_join("a", ""), "a");
    EXPECT_EQ(path_dir("/x/y/z.trn"), "/x/y");
    EXPECT_EQ(path_dir("z.trn"), ".");
    EXPECT_EQ(path_dir("/z.trn"), "/");
    EXPECT_EQ(path_dir("x//z.trn"), "x");
}

TEST_F(Platform, AtomicWriteCreatesAndReplacesWholeFiles)
{
    std::string path = dir + "/settings.cfg", error;
    ASSERT_TRUE(write_file_atomically(path, "first", 5, &error)) << error;
    EXPECT_EQ(read_text(path), "first");
    ASSERT_TRUE(write_file_atomically(path, "second!", 7, &error)) << error;
    EXPECT_EQ(read_text(path), "second!");
    EXPECT_FALSE(file_exists(path + ".tmp"));
    ASSERT_TRUE(write_file_atomically(path, "", 0, &error)) << error;
    EXPECT_EQ(read_text(path), "");

    // replace_file itself replaces an existing file.
    write_text(dir + "/a", "A");
    write_text(dir + "/b", "B");
    ASSERT_TRUE(replace_file(dir + "/a", dir + "/b", &error)) << error;
    EXPECT_EQ(read_text(dir + "/b"), "A");
    EXPECT_FALSE(file_exists(dir + "/a"));
    EXPECT_FALSE(replace_file(dir + "/a", dir + "/b", &error));
    EXPECT_NE(error.find(dir + "/a"), std::string::npos);
}

TEST_F(Platform, AFailedWriteKeepsTheOldFile)
{
    std::string path = dir + "/records", error;
    write_text(path, "old");

    // The temporary file lands on a device that is always full.
    if (access("/dev/full", W_OK) == 0) {
        ASSERT_EQ(symlink("/dev/full", (path + ".tmp").c_str()), 0);
        EXPECT_FALSE(write_file_atomically(path, "new", 3, &error));
        EXPECT_EQ(read_text(path), "old");
        EXPECT_NE(error.find(path + ".tmp"), std::string::npos) << error;
        struct stat st;
        EXPECT_NE(lstat((path + ".tmp").c_str(), &st), 0) << "the temporary file is removed";
        FILE *full = fopen("/dev/full", "wb");
        ASSERT_NE(full, nullptr);
        fputs("more than nothing", full);
        EXPECT_FALSE(sync_and_close(full));
    }

    // A folder that takes no new files: nothing changes, and it says why.
    chmod(dir.c_str(), 0555);
    EXPECT_EQ(as_unprivileged([&] { return write_file_atomically(path, "new", 3, nullptr); }), 0);
    EXPECT_EQ(as_unprivileged([&] { return dir_is_writable(dir); }), 0);
    chmod(dir.c_str(), 0777);
    EXPECT_EQ(read_text(path), "old");
    EXPECT_FALSE(file_exists(path + ".tmp"));
    EXPECT_TRUE(dir_is_writable(dir));
    EXPECT_FALSE(dir_is_writable(dir + "/missing"));
    EXPECT_FALSE(dir_is_writable(path)) << "a file is not a folder";
    EXPECT_FALSE(sync_and_close(nullptr));
}

TEST_F(Platform, UserDataFolderAndItsOverrides)
{
    std::string saved_home = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", (dir + "/home").c_str(), 1);
    EXPECT_EQ(user_data_dir(), dir + "/home/.local/share/hillhopper");

    setenv("XDG_DATA_HOME", (dir + "/xdg").c_str(), 1);
    EXPECT_EQ(user_data_dir(), dir + "/xdg/hillhopper");
    setenv("XDG_DATA_HOME", "relative/ignored", 1);
    EXPECT_EQ(user_data_dir(), dir + "/home/.local/share/hillhopper");

    setenv("HILLHOPPER_DATA_HOME", (dir + "/tests/deep").c_str(), 1);
    EXPECT_EQ(user_data_dir(), dir + "/tests/deep");
    EXPECT_EQ(user_data_subdir("replays"), dir + "/tests/deep/replays");
    struct stat st;
    EXPECT_EQ(stat((dir + "/tests/deep/replays").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));

    // A folder that cannot be made: "" rather than a path that fails later.
    write_text(dir + "/plainfile", "x");
    setenv("HILLHOPPER_DATA_HOME", (dir + "/plainfile/below").c_str(), 1);
    EXPECT_EQ(user_data_dir(), "");
    EXPECT_EQ(user_data_subdir("levels"), "");
    EXPECT_FALSE(make_dirs(dir + "/plainfile/below"));
    setenv("HOME", saved_home.c_str(), 1);
}

TEST_F(Platform, GameDataFolderOrder)
{
    setenv("HILLHOPPER_GAME_DATA", dir.c_str(), 1);
    EXPECT_EQ(game_data_dir(), dir);
    EXPECT_EQ(game_data_path("music.dat"), dir + "/music.dat");
    unsetenv("HILLHOPPER_GAME_DATA");
    // The test program's folder holds no datafiles and nothing is installed
    // here: the current folder, as before.
    if (!file_exists("/usr/share/games/hillhopper/ttex01.dat")) {
        EXPECT_EQ(game_data_dir(), ".");
    }
    std::string exe = exe_dir();
    EXPECT_EQ(exe[0], '/');
    EXPECT_TRUE(file_exists(exe + "/test_platform"));
}

TEST_F(Platform, ListingAndNamesOutsideAscii)
{
    std::string sub = dir + "/J\xC3\xBCrgens Stra\xC3\x9F" "e";
    ASSERT_TRUE(make_dirs(sub + "/levels"));
    std::string error;
    ASSERT_TRUE(write_file_atomically(sub + "/levels/\xC3\x9C" "ber.trn", "u", 1, &error)) << error;
    ASSERT_TRUE(write_file_atomically(sub + "/levels/b.trn", "b", 1, &error)) << error;
    ASSERT_TRUE(write_file_atomically(sub + "/levels/a.trn", "a", 1, &error)) << error;
    ASSERT_TRUE(write_file_atomically(sub + "/levels/a.trn.bak", "a", 1, &error)) << error;
    ASSERT_TRUE(make_dirs(sub + "/levels/folder.trn"));

    std::vector<std::string> want = {"a.trn", "b.trn", "\xC3\x9C" "ber.trn"};
    EXPECT_EQ(list_files(sub + "/levels", ".trn"), want);
    EXPECT_EQ(list_files(sub + "/levels", nullptr).size(), 4u);
    EXPECT_TRUE(list_files(sub + "/missing", ".trn").empty());
    EXPECT_EQ(loader_path(sub), sub);

    FILE *f = open_file(sub + "/levels/\xC3\x9C" "ber.trn", "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(fgetc(f), 'u');
    fclose(f);
    EXPECT_TRUE(remove_file(sub + "/levels/\xC3\x9C" "ber.trn"));
    EXPECT_FALSE(file_exists(sub + "/levels/\xC3\x9C" "ber.trn"));
}

// The editor offers a recovery file only when it is newer than its level.
TEST_F(Platform, ModifiedTimesOrderFilesWrittenOneAfterTheOther)
{
    std::string error, older = dir + "/level.trn", newer = dir + "/level.trn.autosave";
    ASSERT_TRUE(write_file_atomically(older, "o", 1, &error)) << error;
    struct timespec pause = {0, 20 * 1000 * 1000};
    nanosleep(&pause, nullptr);
    ASSERT_TRUE(write_file_atomically(newer, "n", 1, &error)) << error;
    long long t_old = 0, t_new = 0;
    ASSERT_TRUE(file_modified_time(older, &t_old));
    ASSERT_TRUE(file_modified_time(newer, &t_new));
    EXPECT_LT(t_old, t_new);
    EXPECT_FALSE(file_modified_time(dir + "/missing.trn", &t_old));
}
