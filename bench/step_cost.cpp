// What one step of each component class costs: for every registered component class with
// inputs, a board of 100 instances with their front-panel elements (on a page that is never
// shown, so nothing is painted), every input wired to one source. The source changes in every
// step ("changing": its number output toggles between 0 V and 5 V, its text output between
// two texts) or never ("constant": 0 V and one text). Text inputs ("$" pins) take the text
// output, all others the number output.
//
// Each benchmark is one class in one mode; an iteration is one step of the board. At the end a
// table gives nanoseconds per component per step and the ratio to the inverter's figure of the
// same mode, marking classes above 5x (changing) or 2x (constant), and the allocations per
// component per step (counted over steps of their own after the timed ones; the program's
// malloc, calloc and realloc are counted here, operator new included; not in builds with the
// address sanitizer, which has its own).
//
// Run (Release build):
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRINOL_SANITIZE=OFF
//   cmake --build build/rel --target bench_step_cost
//   build/rel/bench_step_cost [--benchmark_filter=TBTNum] [--benchmark_repetitions=3]
//     (0.05 s per class and mode unless --benchmark_min_time says otherwise)
// The table gives the best of the repetitions; note the load average.
// Components work in a temporary folder (file components write their files there).

#include "core/board/Platine.h"
#include "core/model/ClassRegistry.h"
#include "core/model/GrundBT.h"
#include "core/model/Iobt.h"
#include "core/model/Translator.h"
#include "frontpanel/Design.h"
#include "frontpanel/ElementRegistry.h"
#include "frontpanel/FP_Element.h"
#include "platform/Context.h"
#include "shell/mainwindow/RegisterClasses.h"

#include "BenchWire.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QPoint>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define TAVRINOL_SANITIZER_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVRINOL_SANITIZER_ALLOCATOR 1
#endif
#endif

namespace {
// Allocations of this thread while counting is on (plain thread-locals of the program need no
// allocation themselves).
thread_local bool t_counting = false;
thread_local long t_allocations = 0;
} // namespace

#if defined(__GLIBC__) && !defined(TAVRINOL_SANITIZER_ALLOCATOR)
#define TAVRINOL_COUNTS_ALLOCATIONS 1
// The C library's allocator under its own names; the program's malloc family counts and hands on.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);

void* malloc(size_t size) noexcept
{
    if (t_counting)
        ++t_allocations;
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) noexcept
{
    if (t_counting)
        ++t_allocations;
    return __libc_calloc(count, size);
}
void* realloc(void* p, size_t size) noexcept
{
    if (t_counting)
        ++t_allocations;
    return __libc_realloc(p, size);
}
}
#endif

namespace {

constexpr int kInstances = 100;
constexpr int kPerRow = 10;
constexpr int kWarmSteps = 20;
constexpr int kCountedSteps = 20;

// The signal every input is wired to: a number output "A" and a text output "$".
class TStepSource : public TGrundBT {
public:
    TV_CLASS_NAME(TStepSource)
    TStepSource()
    {
        SetOutputCount(2);
        Outputs[1]->SetName(QStringLiteral("$"));
    }
    QString GetTypeName() const override { return QStringLiteral("Source"); }

    bool Changing = true;

    void SimReset() override
    {
        m_phase = false;
        SetOutputValue(0, 0.0L);
        SetOutputText(1, m_texts[0]);
    }
    void Calculate() override
    {
        if (!Changing)
            return;
        m_phase = !m_phase;
        SetOutputValue(0, m_phase ? 5.0L : 0.0L);
        SetOutputText(1, m_texts[m_phase ? 1 : 0]);
    }

private:
    bool m_phase = false;
    const QString m_texts[2] = {QStringLiteral("Kessel 1: 12,5"), QStringLiteral("Kessel 2: 7,25")};
};

struct TCostBoard {
    TDesign page;  // never shown; destroyed after the board
    std::unique_ptr<TPlatine> board = std::make_unique<TPlatine>();
    std::vector<TIOBauteil*> parts;

    ~TCostBoard()
    {
        if (board)
            board->EndSimulation();
        board.reset();
    }
};

TIOBauteil* Place(TCostBoard& b, std::unique_ptr<TIOBauteil> component, int x, int y)
{
    component->X = x;
    component->Y = y;
    component->LayoutPins();
    TIOBauteil* raw = component.get();
    b.board->AppendItem(std::move(component));
    b.board->BindItem(raw);
    b.board->AttachPinSegments(raw);
    if (!raw->ElementClass().isEmpty()) {
        TFP_Element* element = b.page.AddElement(raw->ElementClass());
        element->ElementName = raw->Designator();
        raw->SetLink(element);
        element->Component = raw;
    }
    return raw;
}

std::unique_ptr<TCostBoard> BuildBoard(const QString& className, bool changing)
{
    auto b = std::make_unique<TCostBoard>();
    b->page.isEditing = false;
    b->page.hide();  // a new page shows itself
    std::unique_ptr<TStepSource> source = NewObject<TStepSource>();
    source->Changing = changing;
    TIOBauteil* driver = Place(*b, std::move(source), 60, 60);
    for (int k = 0; k < kInstances; ++k) {
        std::unique_ptr<TBauteil> item = ClassRegistry().CreateBoardItem(className);
        std::unique_ptr<TIOBauteil> component(static_cast<TIOBauteil*>(item.release()));
        b->parts.push_back(Place(*b, std::move(component), 400 + (k % kPerRow) * 600, 400 + (k / kPerRow) * 600));
    }
    b->board->RenumberClass(className.toLatin1().constData());
    for (TIOBauteil* part : b->parts)
        if (part->Link)
            part->Link->ElementName = part->Designator();
    for (TIOBauteil* part : b->parts)
        for (int i = 0; i < part->InputCount; ++i) {
            const TBauteilPin& in = *part->Inputs[size_t(i)];
            Wire(*b->board, *driver->Outputs[in.IsStringPin() ? 1 : 0], in, 2 * i);
        }
    b->board->StartSimulation();
    for (TIOBauteil* part : b->parts)
        for (int i = 0; i < part->InputCount; ++i) {
            const TBauteilPin& in = *part->Inputs[size_t(i)];
            if (in.Source() != driver->Outputs[in.IsStringPin() ? 1 : 0].get()) {
                std::fprintf(stderr, "bench: input %d of a %s is not wired as built\n", i,
                             qPrintable(className));
                std::abort();
            }
        }
    return b;
}

struct TResult {
    int64_t iterations = 0;
    double ns = 0;           // per component per step
    double allocations = 0;  // per component per step
};
// Every measurement of a class and mode; the table reads those of the longest runs.
std::map<std::pair<std::string, bool>, std::vector<TResult>>& Results()
{
    static std::map<std::pair<std::string, bool>, std::vector<TResult>> results;
    return results;
}

void BM_StepCost(benchmark::State& state, const QString& className, bool changing)
{
    std::unique_ptr<TCostBoard> b = BuildBoard(className, changing);
    for (int k = 0; k < kWarmSteps; ++k)
        b->board->SimStep();
    QApplication::processEvents();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        b->board->SimStep();
    const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
    const double perComponent = elapsed.count() / double(state.iterations()) / kInstances;
    t_allocations = 0;
    t_counting = true;
    for (int k = 0; k < kCountedSteps; ++k)
        b->board->SimStep();
    t_counting = false;
    const double allocations = double(t_allocations) / kCountedSteps / kInstances;
    Results()[{className.toStdString(), changing}].push_back({state.iterations(), perComponent, allocations});
    state.counters["ns/component"] = perComponent;
    state.counters["alloc/component"] = allocations;
    QApplication::processEvents();
}

// The registered component classes that have inputs, the inverter first.
std::vector<QString> ClassesWithInputs()
{
    std::vector<QString> names{QStringLiteral("TBTInverter")};
    for (const TComponentDescription* d : ClassRegistry().Components()) {
        const QString name = QString::fromLatin1(d->Name);
        if (d->Inputs.Default > 0 && name != names.front())
            names.push_back(name);
    }
    return names;
}

// The best of the runs with the most iterations (the measured ones, not the estimates): on a
// shared machine the other programs only ever add time. Allocations: the most of any run.
TResult Figure(const std::vector<TResult>& runs)
{
    int64_t most = 0;
    for (const TResult& r : runs)
        most = std::max(most, r.iterations);
    TResult best;
    for (const TResult& r : runs) {
        if (r.iterations == most && (best.ns == 0 || r.ns < best.ns))
            best.ns = r.ns;
        best.allocations = std::max(best.allocations, r.allocations);
    }
    return best;
}

void PrintTable(const std::vector<QString>& classes)
{
    auto figure = [](const QString& name, bool changing) {
        const auto it = Results().find({name.toStdString(), changing});
        return it == Results().end() ? TResult{} : Figure(it->second);
    };
    const double inverterChanging = figure(QStringLiteral("TBTInverter"), true).ns;
    const double inverterConstant = figure(QStringLiteral("TBTInverter"), false).ns;
    std::printf("\nns per component per step (%d instances, page hidden, best of the repetitions);"
                " x = ratio to TBTInverter; alloc = allocations per component per step\n",
                kInstances);
    std::printf("%-24s %10s %8s %6s %10s %8s %6s\n", "class", "changing", "x", "alloc", "constant", "x", "alloc");
    for (const QString& name : classes) {
        const TResult changing = figure(name, true);
        const TResult constant = figure(name, false);
        if (changing.ns == 0 && constant.ns == 0)
            continue;
        const double rc = inverterChanging > 0 ? changing.ns / inverterChanging : 0;
        const double rk = inverterConstant > 0 ? constant.ns / inverterConstant : 0;
        std::printf("%-24s %10.1f %7.1f%s %6.2f %10.1f %7.1f%s %6.2f\n", qPrintable(name), changing.ns, rc,
                    rc > 5 ? "!" : " ", changing.allocations, constant.ns, rk, rk > 2 ? "!" : " ",
                    constant.allocations);
    }
    std::printf("! above 5x (changing) or 2x (constant) the inverter\n");
#ifndef TAVRINOL_COUNTS_ALLOCATIONS
    std::printf("allocations are not counted in this build\n");
#endif
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    ResetContext();
    BuildTranslationTable();
    RegisterComponentClasses(ClassRegistry());
    RegisterFrontPanelElements(ElementRegistry());

    const std::vector<QString> classes = ClassesWithInputs();
    for (const QString& name : classes)
        for (const bool changing : {true, false}) {
            const std::string label =
                "StepCost/" + name.toStdString() + (changing ? "/changing" : "/constant");
            benchmark::RegisterBenchmark(label.c_str(), BM_StepCost, name, changing)
                ->Unit(benchmark::kMicrosecond);
        }
    // A short time per benchmark unless one is given: the table has some 300 of them.
    std::vector<char*> args(argv, argv + argc);
    char shortTime[] = "--benchmark_min_time=0.05";
    if (std::none_of(args.begin(), args.end(), [](const char* a) {
            return std::string(a).rfind("--benchmark_min_time", 0) == 0;
        }))
        args.push_back(shortTime);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintTable(classes);
    return 0;
}
