// The settings reads of one start-up (options, recent files, window and
// toolbar layout, the caret memory of the opened file) over hostile settings
// files, with the parsed-file cache and without it (every read parsing the
// whole file, as before the cache).
#include <benchmark/benchmark.h>

#include <fstream>
#include <functional>
#include <string>
#include <sys/time.h>

#include "core/config/AppOptions.h"
#include "core/config/TIniFile.h"
#include "core/config/RecentFiles.h"
#include "core/platform/ProfileStore.h"

namespace {

std::string MakeFile(const std::string& name, const std::function<void(std::ofstream&)>& fill) {
    std::string path = std::string(PELM_BUILD_DIR) + "/corpus/" + name;
    std::system(("mkdir -p '" + std::string(PELM_BUILD_DIR) + "/corpus'").c_str());
    {
        std::ofstream f(path, std::ios::binary);
        fill(f);
    }
    // A file written long ago, as a settings file is at start-up.
    struct timeval times[2];
    gettimeofday(&times[0], nullptr);
    times[0].tv_sec -= 3600;
    times[1] = times[0];
    utimes(path.c_str(), times);
    return path;
}

const std::string& ManySections() {
    static const std::string path = MakeFile("pelm-20000-sections.ini", [](std::ofstream& f) {
        f << "[Editor]\r\nPolosa=80\r\nOpenHistory=4\r\n[LastOpened]\r\nMRU1=/x/a.html\r\n";
        for (int i = 0; i < 20000; ++i) f << "[Section" << i << "]\r\nkey=value " << i << "\r\n";
        f << "[TfrMainWindow]\r\nLeft=10\r\nTop=10\r\nWidth=736\r\nHeight=473\r\nState=1\r\n";
    });
    return path;
}

const std::string& LongLines() {
    static const std::string path = MakeFile("pelm-long-lines.ini", [](std::ofstream& f) {
        f << "[Editor]\r\nPolosa=80\r\n";
        for (int i = 0; i < 3; ++i) f << "[Long" << i << "]\r\nk=" << std::string(10 << 20, 'x') << "\r\n";
    });
    return path;
}

void StartupReads(const std::string& file) {
    const pelm::TIniFile layout(file);
    for (const char* key : {"Left", "Top", "Width", "Height", "State"}) layout.IniReadNumber("TfrMainWindow", key, 0);
    for (const char* section : {"mnuMainToolbar", "tbxStandartToolbar", "tbxTagsToolbar"})
        for (const char* key : {"Dock", "Row", "Pos"}) layout.IniRead(section, key, "");
    const pelm::TIniFile settings(file);
    const pelm::TAppOptions options = pelm::ReadAppOptions(settings);
    pelm::TRecentFiles recent;
    recent.SetMaxItems(options.OpenHistory);
    recent.Load(settings, "LastOpened");
    settings.IniReadNumber("Filez", "/x/a.html_Cursor", 0);
    settings.IniReadNumber("Toolbars", "TagInsert", 1);
}

void Startup(benchmark::State& state, const std::string& (*file)(), bool cached) {
    const std::string& path = file();
    pelm::profile::SetCacheEnabled(cached);
    for (auto _ : state) {
        // Each start-up is a new process: nothing is cached when it begins.
        pelm::profile::SetCacheEnabled(cached);
        StartupReads(path);
    }
    pelm::profile::SetCacheEnabled(true);
}

}  // namespace

BENCHMARK_CAPTURE(Startup, Sections20000_Cached, ManySections, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Startup, Sections20000_Uncached, ManySections, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Startup, LongLines3x10MB_Cached, LongLines, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Startup, LongLines3x10MB_Uncached, LongLines, false)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
