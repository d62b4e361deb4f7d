// The window's Open and Save on big files, offscreen: 1,000,000 point rows opened and shown in
// the table, a 1,000,000-record job text opened and shown in the text view, and both saved.
// `--peak-memory points|job` opens once and prints the peak resident size against the file.
#include "../model/bench_files.h"
#include "mainwindow/startup.h"
#include "scripted_prompts.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

using namespace telvane;

namespace {

using bench::job_text_file;
using bench::point_rows_file;
using bench::temp_path;

// The program's windows with the shipped language files and a fresh INI file.
struct Program {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<AppWindows> windows;

    Program() {
        for (const char* f : {"Language.cfg", "FileType.cfg", "HELP.txt"})
            QFile::copy(QDir(TELVANE_LANGUAGE_DIR).filePath(f), dir.filePath(f));
        StartResult r = start_windows({dir.path(), dir.filePath("telvane.INI")}, prompts);
        if (!r.windows)
            qFatal("start failed: %s", qPrintable(r.error));
        windows = std::move(r.windows);
        windows->Form1->show();
        QApplication::processEvents();
    }
    TForm1& form() { return *windows->Form1; }
    // Open as the command does, then let the window paint what it shows.
    void open(const std::string& path) {
        if (!form().OpenFile(QString::fromStdString(path)))
            qFatal("open failed");
        form().repaint();
        QApplication::processEvents();
    }
};

void open_and_show(benchmark::State& state, const std::string& path) {
    Program program;
    const auto size = std::filesystem::file_size(path);
    for (auto _ : state)
        program.open(path);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
    state.counters["input_MB"] = static_cast<double>(size) / 1e6;
}

void BM_WindowOpenPointRows(benchmark::State& state) {
    open_and_show(state, point_rows_file());
}
BENCHMARK(BM_WindowOpenPointRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WindowOpenJobText(benchmark::State& state) {
    open_and_show(state, job_text_file());
}
BENCHMARK(BM_WindowOpenJobText)->Unit(benchmark::kMillisecond)->Iterations(3);

void save(benchmark::State& state, const std::string& in, const char* out_name, int position) {
    Program program;
    program.open(in);
    const QString out = QString::fromStdString(temp_path(out_name));
    for (auto _ : state) {
        QFile::remove(out);
        program.prompts.fileAnswers << FileChoice{out, position};
        program.form().SaveBtnClick();
    }
    if (!program.prompts.messages.isEmpty())
        state.SkipWithError(qPrintable(program.prompts.messages.front()));
    state.counters["output_MB"] =
        static_cast<double>(std::filesystem::file_size(out.toStdString())) / 1e6;
}

void BM_WindowSavePointRows(benchmark::State& state) {
    save(state, point_rows_file(), "telvane_window_bench_out.csv", 1);
}
BENCHMARK(BM_WindowSavePointRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WindowSaveJobText(benchmark::State& state) {
    save(state, job_text_file(), "telvane_window_bench_out.txt", 9);
}
BENCHMARK(BM_WindowSaveJobText)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--peak-memory") == 0) {
        const std::string& file =
            std::strcmp(argv[2], "job") == 0 ? job_text_file() : point_rows_file();
        Program program;
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        program.open(file);
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        const double mb = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
        std::printf("file %.1f MB, peak resident %.1f MB before opening, %.1f MB after: %.2fx the "
                    "file (growth %.2fx)\n",
                    mb, before.ru_maxrss / 1e3, after.ru_maxrss / 1e3, after.ru_maxrss / 1e3 / mb,
                    (after.ru_maxrss - before.ru_maxrss) / 1e3 / mb);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
