// The configuration-script parser's speed, through its entry point as the game calls it (the file
// is read through the file-system library, from the page cache after the first run):
//   - throughput on a generated 10 MB script of declarations, constants, calls and blocks;
//   - 100 000 against 1 000 000 statements: the time per statement should not grow;
//   - deleting a list of 1 000 000 statements;
//   - lookups that must not cost more for one name than for another: the first of 20 000 declared
//     keywords or constants against the last, and 3 000 includes after 3 000 constants against
//     the same includes before them. Each pair is printed as the ratio worst/best (target: 3 at
//     most);
//   - one settings content, the same number of int, float and string values, in our language and
//     parsed by inih, libconfig and toml++ (each from a file, each with its results freed);
//   - the peak of the memory allocated while the 10 MB script is parsed, counted by the allocator
//     (this program's operator new), before any other parse.
// "MB/s" counters are decimal megabytes of script per second. After the table, a summary puts the
// figures that are compared against each other side by side, from this same run.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "filesystem_api.h"
#include "zk_parse.h"

#if defined(VANTOR_BENCH_COMPARE)
#include <ini.h>
#include <toml++/toml.h>

#include <libconfig.h++>
#endif

// Every block this program allocates through operator new (the parser's text, arena and parser
// objects among them) is counted at the size the allocator really gives it.
namespace {
std::size_t liveBytes = 0;
std::size_t peakBytes = 0;
}  // namespace

void* operator new(std::size_t size) {
  void* const memory = std::malloc(size == 0 ? 1 : size);
  if (memory == nullptr) throw std::bad_alloc();
  liveBytes += malloc_usable_size(memory);
  if (liveBytes > peakBytes) peakBytes = liveBytes;
  return memory;
}

void operator delete(void* memory) noexcept {
  if (memory == nullptr) return;
  liveBytes -= malloc_usable_size(memory);
  std::free(memory);
}

void operator delete(void* memory, std::size_t /*size*/) noexcept {
  operator delete(memory);
}

namespace {

namespace stdfs = std::filesystem;

// A large settings file, but not so large that libconfig, which grows slower than linearly with
// the number of settings at one level, takes seconds.
constexpr int kSettingsPerType = 1000;

void Write(const std::string& name, const std::string& text) {
  std::ofstream(name, std::ios::binary) << text;
}

std::uintmax_t FileSize(const std::string& name) {
  return stdfs::file_size(name);
}

// A settings-like script of about `bytes` bytes: declarations up front, then calls of every
// parameter type, with constants, comments and blocks. Declared once, as real scripts do: the
// declarations are searched from the newest, so redeclaring in a loop would measure the search.
std::string DeclarationsAndCalls(std::size_t bytes) {
  std::string text =
      "// generated for the parser benchmark\n"
      "!window(int width, int height)\n"
      "!title(string)\n"
      "!speed(float)\n"
      "!sprite(string name, int x, int y, float scale)\n"
      "!group(string)\n"
      "$base(i, 100)\n"
      "$factor(f, 0.75)\n";
  for (unsigned n = 0; text.size() < bytes; ++n) {
    const std::string number = std::to_string(n % 1000);
    switch (n % 6) {
      case 0:
        text += "window(" + number + ", 480)\n";
        break;
      case 1:
        text += "title(\"Level " + number + " of the demo game\")\n";
        break;
      case 2:
        text += "speed(1." + number + ")\n";
        break;
      case 3:
        text += "sprite(\"hero\", base, " + number + ", 0.5) // the player\n";
        break;
      case 4:
        text += "group(\"enemies\") {\n  sprite(\"bat\", " + number +
                ", 2, 1.5)\n  sprite(\"rat\", 3, -4, 2.25)\n}\n";
        break;
      default:
        text += "/* " + number + " */ speed(factor)\n";
        break;
    }
  }
  return text;
}

std::string Statements(int count) {
  std::string text = "!a(int)\n";
  for (int n = 0; n < count; ++n) text += "a(" + std::to_string(n % 100000) + ")\n";
  return text;
}

// Parses name as the game does; aborts the run if the parse fails, so that a broken benchmark
// input cannot pass for a fast one.
CZKPARSE_KEYWORD* ParseOrDie(const char* name) {
  CZKPARSE_KEYWORD* list = ParseScriptFile(name, nullptr, nullptr, nullptr);
  if (list == nullptr) {
    std::fprintf(stderr, "parser_bench: %s did not parse\n", name);
    std::exit(1);
  }
  return list;
}

void SetThroughput(benchmark::State& state, const std::string& name) {
  const double megabytes = static_cast<double>(FileSize(name)) / 1e6;
  state.counters["MB/s"] =
      benchmark::Counter(megabytes, benchmark::Counter::kIsIterationInvariantRate);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FileSize(name)));
}

void ParseAndDelete(benchmark::State& state, const std::string& name) {
  // One untimed round first: the heap then has its pages, and the file is in the page cache.
  delete ParseOrDie(name.c_str());
  for (auto _ : state) {
    CZKPARSE_KEYWORD* list = ParseOrDie(name.c_str());
    benchmark::DoNotOptimize(list);
    delete list;
  }
  SetThroughput(state, name);
}

void BM_Parse10MBScript(benchmark::State& state) {
  ParseAndDelete(state, "script10mb.ini");
}
BENCHMARK(BM_Parse10MBScript)->Unit(benchmark::kMillisecond);

// Twice, by argument: the statement count.
void BM_ParseStatements(benchmark::State& state) {
  const std::string name = "statements" + std::to_string(state.range(0)) + ".ini";
  ParseAndDelete(state, name);
  // Statements per nanosecond, inverted: nanoseconds per statement.
  state.counters["ns/statement"] = benchmark::Counter(
      static_cast<double>(state.range(0)) / 1e9,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ParseStatements)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Timed by hand, the parse before each deletion left out: a fixed number of rounds, since each
// costs a whole parse besides the deletion it measures.
void BM_DeleteList1M(benchmark::State& state) {
  for (auto _ : state) {
    CZKPARSE_KEYWORD* list = ParseOrDie("statements1000000.ini");
    const auto start = std::chrono::steady_clock::now();
    delete list;
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
}
BENCHMARK(BM_DeleteList1M)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

// The same script in two orders: the one in which a search from the newest name would walk the
// longest (worst) and the one in which it would stop at once (best). Both are parsed in every
// iteration; the benchmark's time is their sum, and the counters show each and their ratio.
void CompareOrders(benchmark::State& state, const char* worst, const char* best) {
  delete ParseOrDie(worst);
  delete ParseOrDie(best);
  const auto timedParse = [](const char* name) {
    const auto start = std::chrono::steady_clock::now();
    delete ParseOrDie(name);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  double worstSeconds = 0.0;
  double bestSeconds = 0.0;
  for (auto _ : state) {
    worstSeconds += timedParse(worst);
    bestSeconds += timedParse(best);
  }
  state.counters["worst ms"] =
      benchmark::Counter(worstSeconds * 1e3, benchmark::Counter::kAvgIterations);
  state.counters["best ms"] =
      benchmark::Counter(bestSeconds * 1e3, benchmark::Counter::kAvgIterations);
  state.counters["worst/best"] = worstSeconds / bestSeconds;
}

// 20 000 keywords declared, then 20 000 calls of the first declared against the last declared.
void BM_DeclarationLookup(benchmark::State& state) {
  CompareOrders(state, "declarations_first.ini", "declarations_last.ini");
}
BENCHMARK(BM_DeclarationLookup)->Unit(benchmark::kMillisecond);

// 20 000 constants defined, then 20 000 uses of the first defined against the last defined.
void BM_ConstantLookup(benchmark::State& state) {
  CompareOrders(state, "constants_first.ini", "constants_last.ini");
}
BENCHMARK(BM_ConstantLookup)->Unit(benchmark::kMillisecond);

// 3 000 includes of an empty file after 3 000 constants against the same includes before them:
// each include hands the constants defined so far to the included file and takes them back.
void BM_IncludesAfterConstants(benchmark::State& state) {
  CompareOrders(state, "includes_after_constants.ini", "includes_before_constants.ini");
}
BENCHMARK(BM_IncludesAfterConstants)->Unit(benchmark::kMillisecond);

void BM_Settings_Vantor(benchmark::State& state) {
  ParseAndDelete(state, "settings.ini");
}
BENCHMARK(BM_Settings_Vantor)->Unit(benchmark::kMicrosecond);

#if defined(VANTOR_BENCH_COMPARE)

// The values are converted as ours are: ints and floats to numbers, strings copied.
struct IniValues {
  long long ints = 0;
  double floats = 0;
  std::size_t strings = 0;
};

int IniHandler(void* user, const char* /*section*/, const char* name, const char* value) {
  auto* values = static_cast<IniValues*>(user);
  if (name[0] == 'c') {
    values->ints += std::strtol(value, nullptr, 10);
  } else if (name[0] == 's') {
    values->floats += std::strtof(value, nullptr);
  } else {
    values->strings += std::string(value).size();
  }
  return 1;
}

void BM_Settings_inih(benchmark::State& state) {
  for (auto _ : state) {
    IniValues values;
    if (ini_parse("settings_inih.ini", IniHandler, &values) != 0) std::exit(1);
    benchmark::DoNotOptimize(values);
  }
  SetThroughput(state, "settings_inih.ini");
}
BENCHMARK(BM_Settings_inih)->Unit(benchmark::kMicrosecond);

void BM_Settings_libconfig(benchmark::State& state) {
  for (auto _ : state) {
    libconfig::Config config;
    config.readFile("settings.cfg");
    benchmark::DoNotOptimize(&config);
  }
  SetThroughput(state, "settings.cfg");
}
BENCHMARK(BM_Settings_libconfig)->Unit(benchmark::kMicrosecond);

void BM_Settings_tomlplusplus(benchmark::State& state) {
  for (auto _ : state) {
    toml::table table = toml::parse_file("settings.toml");
    benchmark::DoNotOptimize(&table);
  }
  SetThroughput(state, "settings.toml");
}
BENCHMARK(BM_Settings_tomlplusplus)->Unit(benchmark::kMicrosecond);

#endif

// The same settings in the four languages: kSettingsPerType ints, floats and strings.
void WriteSettings() {
  std::string ours =
      "!int(string name, int value)\n!float(string name, float value)\n"
      "!string(string name, string value)\n";
  std::string ini = "[settings]\n", cfg, toml;
  for (int n = 0; n < kSettingsPerType; ++n) {
    const std::string k = std::to_string(n);
    const std::string f = std::to_string(n % 100) + ".75";
    const std::string s = "Level " + k + " of the game";
    ours += "int(\"count" + k + "\", " + k + ")\nfloat(\"scale" + k + "\", " + f +
            ")\nstring(\"title" + k + "\", \"" + s + "\")\n";
    ini += "count" + k + " = " + k + "\nscale" + k + " = " + f + "\ntitle" + k + " = " + s + "\n";
    cfg += "count" + k + " = " + k + ";\nscale" + k + " = " + f + ";\ntitle" + k + " = \"" + s +
           "\";\n";
    toml +=
        "count" + k + " = " + k + "\nscale" + k + " = " + f + "\ntitle" + k + " = \"" + s + "\"\n";
  }
  Write("settings.ini", ours);
  Write("settings_inih.ini", ini);
  Write("settings.cfg", cfg);
  Write("settings.toml", toml);
}

// The scripts of the lookup benchmarks, each in its worst and its best order.
void WriteLookupScripts() {
  constexpr int kNames = 20000;
  std::string declarations, constants = "!a(int)\n";
  for (int n = 0; n < kNames; ++n) {
    declarations += "!k" + std::to_string(n) + "(int)\n";
    constants += "$c" + std::to_string(n) + "(i, " + std::to_string(n) + ")\n";
  }
  std::string firstCalls, lastCalls, firstUses, lastUses;
  for (int n = 0; n < kNames; ++n) {
    firstCalls += "k0(1)\n";
    lastCalls += "k" + std::to_string(kNames - 1) + "(1)\n";
    firstUses += "a(c0)\n";
    lastUses += "a(c" + std::to_string(kNames - 1) + ")\n";
  }
  Write("declarations_first.ini", declarations + firstCalls);
  Write("declarations_last.ini", declarations + lastCalls);
  Write("constants_first.ini", constants + firstUses);
  Write("constants_last.ini", constants + lastUses);

  constexpr int kIncludes = 3000;
  std::string includedConstants, includes;
  for (int n = 0; n < kIncludes; ++n) {
    includedConstants += "$c" + std::to_string(n) + "(i, " + std::to_string(n) + ")\n";
    includes += "!include(\"empty.ini\")\n";
  }
  // One call, so that the parse yields a list and ParseOrDie takes it for a success.
  const std::string call = "!a(int)\na(c0)\n";
  Write("empty.ini", "");
  Write("includes_after_constants.ini", includedConstants + includes + call);
  Write("includes_before_constants.ini", includes + includedConstants + call);
}

// The peak of the bytes allocated while the file is parsed, over the bytes allocated before; the
// list is deleted afterwards. Run before any other parse, so that every block the parse uses is
// allocated by it (released arena blocks are kept for later parses).
std::size_t PeakBytesOfParse(const char* name) {
  const std::size_t before = liveBytes;
  peakBytes = liveBytes;
  CZKPARSE_KEYWORD* list = ParseOrDie(name);
  const std::size_t peak = peakBytes - before;
  delete list;
  return peak;
}

// Shows the table as usual and keeps each benchmark's real time per iteration, in seconds.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
      seconds[run.benchmark_name()] =
          run.real_accumulated_time / static_cast<double>(run.iterations);
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // 0 when the benchmark did not run (filtered out or not built).
  double Seconds(const std::string& name) const {
    const auto found = seconds.find(name);
    return found == seconds.end() ? 0.0 : found->second;
  }

 private:
  std::map<std::string, double> seconds;
};

void PrintSummary(const SummaryReporter& results, std::size_t peakBytes) {
  const auto ratio = [](double a, double b) { return b > 0.0 ? a / b : 0.0; };
  const double script = results.Seconds("BM_Parse10MBScript");
  const double ours = results.Seconds("BM_Settings_Vantor");
  const double inih = results.Seconds("BM_Settings_inih");
  const double small = results.Seconds("BM_ParseStatements/100000");
  const double large = results.Seconds("BM_ParseStatements/1000000");
  const double input = static_cast<double>(FileSize("script10mb.ini"));
  std::printf("\nsummary (this run):\n");
  std::printf("  10 MB script: %.1f MB/s\n", ratio(input / 1e6, script));
  std::printf("  settings file: ours %.0f us, inih %.0f us, toml++ %.0f us, libconfig %.0f us\n",
              ours * 1e6, inih * 1e6, results.Seconds("BM_Settings_tomlplusplus") * 1e6,
              results.Seconds("BM_Settings_libconfig") * 1e6);
  std::printf("  settings file ours/inih: %.3f\n", ratio(ours, inih));
  std::printf("  statements: 100 k %.2f ms, 1 M %.2f ms, 1 M/100 k: %.2f\n", small * 1e3,
              large * 1e3, ratio(large, small));
  std::printf("  deleting the 1 M list: %.2f ms\n",
              results.Seconds("BM_DeleteList1M/iterations:10/manual_time") * 1e3);
  std::printf("  peak memory of the 10 MB parse: %.2f x the input (%.1f MB for %.1f MB)\n",
              ratio(static_cast<double>(peakBytes), input), static_cast<double>(peakBytes) / 1e6,
              input / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  std::random_device random;
  const stdfs::path folder =
      stdfs::temp_directory_path() / ("vantor-parser-bench-" + std::to_string(random()));
  stdfs::create_directories(folder);
  const stdfs::path previous = stdfs::current_path();
  stdfs::current_path(folder);
  Write("script10mb.ini", DeclarationsAndCalls(10 * 1000 * 1000));
  Write("statements100000.ini", Statements(100000));
  Write("statements1000000.ini", Statements(1000000));
  WriteSettings();
  WriteLookupScripts();
  FS_init();
  FS_add_source(".", 0, 0, 0);

  const std::size_t peak = PeakBytesOfParse("script10mb.ini");
  SummaryReporter results;
  benchmark::RunSpecifiedBenchmarks(&results);
  PrintSummary(results, peak);
  benchmark::Shutdown();

  FS_shutdown();
  stdfs::current_path(previous);
  stdfs::remove_all(folder);
  return 0;
}
