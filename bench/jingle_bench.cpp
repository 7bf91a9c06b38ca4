// jingle_bench [--rows N] [--baseline-rows N] [--folder DIR] [--generator engine|pxlib]
//
// Filters a generated jingle table with DELETE ... WHERE FKey<>5 through the engine and
// checks four goals: at least 100 times faster than pxlib deleting the same rows one by
// one, at most 3 times the time of copying the table file, peak memory under 16 MB, and,
// on the same table password-protected, at most 2 times the plain DELETE's time.
// Exits 1 when a goal is missed.
//
// jingle_bench --delete PATH   (internal) runs the DELETE in a fresh process and prints
//                              "rows seconds peakKiB" so that its memory is its own.
#include "jingle_rows.h"
#include "measure.h"
#include "protected_table.h"
#include "pxlib_table.h"

#include "os/fs.h"
#include "pdx/engine.h"
#include "pdx/table.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

namespace {

using namespace bench;

constexpr double kMinSpeedupOverPxlib = 100;
constexpr double kMaxTimesCopy = 3;
constexpr double kMaxPeakMiB = 16;
constexpr double kMaxTimesPlainWhenProtected = 2;

struct Options {
    std::int64_t rows = 1'000'000;
    std::int64_t baselineRows = 20'000;
    std::string folder;
    std::string generator = "engine";
};

std::string deleteStatement(const std::string& path) {
    return "DELETE FROM \"" + path + "\" WHERE FKey<>" + std::to_string(kKeptCategory);
}

int runDeleteChild(const std::string& path) {
    Stopwatch stopwatch;
    std::int64_t deleted = pdx::execute(deleteStatement(path));
    double seconds = stopwatch.seconds();
    std::printf("%lld %.6f %lld\n", static_cast<long long>(deleted), seconds,
                static_cast<long long>(peakMemoryKiB()));
    return 0;
}

struct ChildDelete {
    std::int64_t deleted = 0;
    double seconds = 0;
    std::int64_t peakKiB = 0;
};

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

ChildDelete deleteInChild(const std::string& path) {
    std::string command = shellQuoted(os::executablePath()) + " --delete " + shellQuoted(path);
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot start " + command);
    long long deleted = 0, peak = 0;
    double seconds = 0;
    int fields = std::fscanf(pipe, "%lld %lf %lld", &deleted, &seconds, &peak);
    if (pclose(pipe) != 0 || fields != 3) throw std::runtime_error("the DELETE process failed");
    return {deleted, seconds, peak};
}

std::int64_t countRows(const std::string& path, std::int64_t& kept) {
    pdx::Table table(path);
    std::int64_t rows = 0;
    kept = 0;
    auto cursor = table.records();
    while (cursor.next()) {
        ++rows;
        if (auto fkey = std::get_if<std::int64_t>(&cursor.values()[0]); fkey && *fkey == kKeptCategory)
            ++kept;
    }
    return rows;
}

void generate(const Options& options, const std::string& path, std::int64_t rows) {
    if (options.generator == "pxlib")
        createWithPxlib(path, rows);
    else
        createWithEngine(path, rows);
}

bool report(const char* goal, bool met) {
    std::printf("  %-58s %s\n", goal, met ? "ok" : "MISSED");
    return met;
}

int runBenchmark(const Options& options) {
    std::filesystem::path folder = options.folder.empty() ? std::filesystem::temp_directory_path() /
                                                                ("jingle-bench-" + std::to_string(getpid()))
                                                          : std::filesystem::path(options.folder);
    std::filesystem::create_directories(folder);
    std::string source = (folder / "jingles.db").string();
    std::string work = (folder / "work.db").string();
    std::string copy = (folder / "copy.db").string();
    std::string baseline = (folder / "baseline.db").string();
    std::string protectedWork = (folder / "protected.db").string();

    Stopwatch generating;
    if (!std::filesystem::exists(source)) generate(options, source, options.rows);
    std::printf("table: %lld rows, %.1f MB (made by %s in %.1f s)\n", static_cast<long long>(options.rows),
                std::filesystem::file_size(source) / 1e6, options.generator.c_str(), generating.seconds());

    Stopwatch copying;
    os::copyFile(source, copy);
    double copySeconds = copying.seconds();
    std::filesystem::remove(copy);

    os::copyFile(source, work);
    ChildDelete engine = deleteInChild(work);
    std::int64_t kept = 0;
    std::int64_t left = countRows(work, kept);
    bool correct = left == kept && left + engine.deleted == options.rows;

    std::filesystem::remove(protectedWork);
    writeProtectedCopy(source, protectedWork, kProtectionKey);
    ChildDelete protectedDelete = deleteInChild(protectedWork);
    std::int64_t protectedKept = 0;
    std::int64_t protectedLeft = countRows(protectedWork, protectedKept);
    correct = correct && protectedLeft == protectedKept && protectedLeft == left &&
              protectedDelete.deleted == engine.deleted;

    std::filesystem::remove(baseline);
    createWithPxlib(baseline, options.baselineRows);
    OneByOne pxlib = deleteOneByOneWithPxlib(baseline);
    double pxlibPerRow = pxlib.seconds / static_cast<double>(pxlib.deleted);
    double pxlibEstimate = pxlibPerRow * static_cast<double>(engine.deleted);
    double speedup = pxlibEstimate / engine.seconds;
    double timesCopy = engine.seconds / copySeconds;
    double peakMiB = engine.peakKiB / 1024.0;
    double timesPlain = protectedDelete.seconds / engine.seconds;

    std::printf("copy + fsync of the table file:      %8.3f s\n", copySeconds);
    std::printf("DELETE WHERE FKey<>%d (engine):        %8.3f s, %lld rows deleted, %lld left\n",
                kKeptCategory, engine.seconds, static_cast<long long>(engine.deleted),
                static_cast<long long>(left));
    std::printf("pxlib one by one: %lld of %lld rows in %.3f s = %.1f us a row -> %.1f s for %lld rows\n",
                static_cast<long long>(pxlib.deleted), static_cast<long long>(pxlib.rows), pxlib.seconds,
                pxlibPerRow * 1e6, pxlibEstimate, static_cast<long long>(engine.deleted));
    std::printf("the same DELETE, password-protected:  %8.3f s, %lld rows deleted, %lld left\n",
                protectedDelete.seconds, static_cast<long long>(protectedDelete.deleted),
                static_cast<long long>(protectedLeft));
    std::printf("peak memory of the DELETE process:   %8.1f MiB\n", peakMiB);
    std::printf("goals:\n");
    bool met = report("rows left are exactly those with the kept FKey, protected or not", correct);
    char text[128];
    std::snprintf(text, sizeof text, "%.0fx faster than pxlib one by one (goal >= %.0fx)", speedup,
                  kMinSpeedupOverPxlib);
    met &= report(text, speedup >= kMinSpeedupOverPxlib);
    std::snprintf(text, sizeof text, "%.2fx the time of copying the file (goal <= %.0fx)", timesCopy,
                  kMaxTimesCopy);
    met &= report(text, timesCopy <= kMaxTimesCopy);
    std::snprintf(text, sizeof text, "peak memory %.1f MiB (goal < %.0f MiB)", peakMiB, kMaxPeakMiB);
    met &= report(text, peakMiB < kMaxPeakMiB);
    std::snprintf(text, sizeof text, "%.2fx the plain DELETE's time when protected (goal <= %.0fx)",
                  timesPlain, kMaxTimesPlainWhenProtected);
    met &= report(text, timesPlain <= kMaxTimesPlainWhenProtected);

    std::filesystem::remove(work);
    std::filesystem::remove(baseline);
    std::filesystem::remove(protectedWork);
    if (options.folder.empty()) std::filesystem::remove_all(folder);
    return met ? 0 : 1;
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (i + 1 >= argc) throw std::invalid_argument("missing value after " + arg);
        std::string value = argv[++i];
        if (arg == "--rows")
            options.rows = std::stoll(value);
        else if (arg == "--baseline-rows")
            options.baselineRows = std::stoll(value);
        else if (arg == "--folder")
            options.folder = value;
        else if (arg == "--generator" && (value == "engine" || value == "pxlib"))
            options.generator = value;
        else
            throw std::invalid_argument("unknown option " + arg + " " + value);
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 3 && std::string(argv[1]) == "--delete") return runDeleteChild(argv[2]);
        return runBenchmark(parseOptions(argc, argv));
    } catch (const std::exception& error) {
        std::cerr << "jingle_bench: " << error.what() << '\n';
        return 2;
    }
}
