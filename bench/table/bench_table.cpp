// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
// Benchmarks of the text table store on connection logs of 1,000,000 and 100,000 entries,
// each against the plain file operation it should stay close to:
//   open the 1,000,000-entry log        vs. reading the file with one read    (goal < 3x)
//   Append, 4 writes, Post, Flush on    vs. writing the same bytes to a new   (goal < 1.5x)
//     the 100,000-entry log                 file, syncing and renaming it
//   First..Eof reading two fields by name over 1,000,000 entries             (goal < 0.5 s)
//   memory of the open 1,000,000-entry table                       (goal < 1.5x file size)
#include "table/FileIO.h"
#include "table/SdfData.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

struct Logs {
    std::filesystem::path folder;
    std::string big;   // 1,000,000 entries
    std::string small; // 100,000 entries

    Logs() {
        std::string pattern = (std::filesystem::temp_directory_path() / "wvbench.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        folder = pattern;
        big = (folder / "big.txt").string();
        small = (folder / "small.txt").string();
        make(big, 1'000'000);
        make(small, 100'000);
    }
    ~Logs() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }

    static void make(const std::string& path, int entries) {
        static const char* const messages[] = {"Online", "Offline", "\"Start of program\"",
                                               "\"Stop of program\""};
        std::ofstream out(path, std::ios::binary);
        out << "IP,DD/MM/YY,TIME,MESSAGE\r\n";
        char line[128];
        for (int i = 0; i < entries; ++i) {
            const int m = i % 4;
            const bool zero = m != 0;
            const int n = std::snprintf(line, sizeof line, "%s%d.%d,%d/%d/%02d,%d:%02d:%02d,%s\r\n",
                                        zero ? "0.0.0." : "192.168.", zero ? 0 : (i / 256) % 256,
                                        i % 256, 1 + i % 28, 1 + (i / 28) % 12, i / 4000 % 100,
                                        i / 3600 % 24, i / 60 % 60, i % 60, messages[m]);
            out.write(line, n);
        }
    }
};

Logs& logs() {
    static Logs instance;
    return instance;
}

long statusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string name;
    long value = 0;
    while (in >> name) {
        if (name == key) {
            in >> value;
            return value;
        }
        in.ignore(1 << 10, '\n');
    }
    return -1;
}

void BM_ReadWholeFile_1M(benchmark::State& state) {
    std::string bytes;
    for (auto _ : state) {
        wv::readWholeFile(logs().big, bytes);
        benchmark::DoNotOptimize(bytes.data());
        std::string().swap(bytes);
    }
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(logs().big)) / 1e6;
}
BENCHMARK(BM_ReadWholeFile_1M)->Unit(benchmark::kMillisecond);

void BM_OpenLog_1M(benchmark::State& state) {
    for (auto _ : state) {
        wv::TSdfDataSet table;
        table.SetFirstLineAsSchema(true);
        table.SetFileName(logs().big);
        table.Open();
        benchmark::DoNotOptimize(table.RecordCount());
        state.PauseTiming();
        table.Close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenLog_1M)->Unit(benchmark::kMillisecond);

void BM_WalkTwoFieldsByName_1M(benchmark::State& state) {
    wv::TSdfDataSet table;
    table.SetFirstLineAsSchema(true);
    table.SetFileName(logs().big);
    table.Open();
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (table.First(); !table.Eof(); table.Next()) {
            bytes += table.FieldByName("IP").AsString().size();
            bytes += table.FieldByName("DD/MM/YY").AsString().size();
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_WalkTwoFieldsByName_1M)->Unit(benchmark::kMillisecond);

// Writing the bytes of the 100,000-entry log to a new file the same safe way: write, sync,
// rename over the old file.
void BM_WriteNewFileAndRename_100k(benchmark::State& state) {
    std::string bytes;
    wv::readWholeFile(logs().small, bytes);
    const std::string target = (logs().folder / "plain.txt").string();
    const std::string temp = target + ".tmp";
    for (auto _ : state) {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0 ||
            ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            ::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temp.c_str(), target.c_str()) != 0)
            state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_WriteNewFileAndRename_100k)->Unit(benchmark::kMillisecond);

void BM_AppendPostFlush_100k(benchmark::State& state) {
    const std::string copy = (logs().folder / "small-copy.txt").string();
    std::filesystem::copy_file(logs().small, copy,
                               std::filesystem::copy_options::overwrite_existing);
    wv::TSdfDataSet table;
    table.SetFirstLineAsSchema(true);
    table.SetFileName(copy);
    table.Open();
    for (auto _ : state) {
        table.Append();
        table.Fields(0).SetAsString("10.1.2.3");
        table.Fields(1).SetAsString("6/12/26");
        table.Fields(2).SetAsString("23:27:20");
        table.Fields(3).SetAsString("Online");
        table.Post();
        table.Flush();
    }
}
BENCHMARK(BM_AppendPostFlush_100k)->Unit(benchmark::kMillisecond);

// Memory: resident set growth of opening the 1,000,000-entry log, and the peak during the open.
void BM_MemoryOfOpenLog_1M(benchmark::State& state) {
    const double fileMb = static_cast<double>(std::filesystem::file_size(logs().big)) / 1e6;
    for (auto _ : state) {
        // Writing 5 to clear_refs resets the peak resident set (VmHWM) to the current one.
        std::ofstream("/proc/self/clear_refs") << "5";
        const long before = statusKb("VmRSS:");
        wv::TSdfDataSet table;
        table.SetFirstLineAsSchema(true);
        table.SetFileName(logs().big);
        table.Open();
        const long after = statusKb("VmRSS:");
        const long peak = statusKb("VmHWM:");
        state.counters["file_MB"] = fileMb;
        state.counters["rss_growth_MB"] = static_cast<double>(after - before) / 1e3;
        state.counters["peak_growth_MB"] = static_cast<double>(peak - before) / 1e3;
        state.counters["rss_per_file"] = static_cast<double>(after - before) / 1e3 / fileMb;
    }
}
BENCHMARK(BM_MemoryOfOpenLog_1M)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    logs(); // make the log files before anything is timed
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
