// Playback measurements on a real pair of files, in one run:
//  start   double-click to the first frame painted in both players
//  offset  the difference between the frames the two players show at the
//          same instant after a start, a slider seek, a jump and a swap, at
//          1x and 2x: the clips carry each frame's number as 13 black or
//          white blocks across the middle (bench/playback.sh makes them)
//  memory  peak memory while playing with the map page loaded: the
//          application's own peak resident set, and the peak of the
//          proportional set summed over it and its helper processes (the
//          map's renderer), sampled every 100 ms
//  cpu     with --play-only: the CPU time of the application and its
//          helper processes after the given seconds of play, and how the
//          time spent playing splits into decoding (libVLC's threads),
//          converting pictures for the views, painting them, and the rest
//  path    how the pictures reach the views
// Usage: bench_playback FRONT.MP4 REAR.MP4 [--seconds N] [--play-only]
#include "app/CustomWindow.h"
#include "app/ORVAppDelegate.h"
#include "common/linux/AllocatorTuning.h"
#include "common/linux/ProcessUser.h"
#include "playback/WebEngineStartup.h"
#include "playback/ORVPlayController.h"
#include "playback/ORVPlayInfo.h"
#include "playback/VLCLibrary.h"
#include "playback/VLCVideoView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace zentrova;

namespace {

struct OffsetStats {
    double mean = 0;
    double worst = 0;
    int samples = 0;
    int unreadable = 0;
};

constexpr int kCodeBits = 13;
constexpr double kFrameMs = 1000.0 / 30.0;

// The frame number drawn into the picture, or -1 when the blocks cannot be
// read (no frame yet, or not one of the coded clips).
int frameNumberShown(const QImage& frame) {
    if (frame.isNull()) return -1;
    const int y = frame.height() / 2;
    int number = 0;
    for (int bit = 0; bit < kCodeBits; ++bit) {
        const int x = static_cast<int>((bit + 0.5) * frame.width() / kCodeBits);
        const int gray = qGray(frame.pixel(x, y));
        if (gray > 64 && gray < 192) return -1;
        if (gray >= 192) number |= 1 << bit;
    }
    return number;
}

// Samples the difference between the shown frames every 40 ms for the
// given seconds, from one second after a move on (the players' seeks and
// the delayed step that aligns them take that long). With samples at
// every phase of the frame clock, the mean of |difference| times a frame's
// length is the players' mean offset even below one frame.
OffsetStats sampleOffsets(ORVPlayController* control, VLCVideoView* view1, VLCVideoView* view2, int seconds) {
    std::vector<double> offsets;
    OffsetStats stats;
    QElapsedTimer clock;
    clock.start();
    QTest::qWait(1000);
    while (clock.elapsed() < seconds * 1000) {
        QTest::qWait(40);
        if (control->moving() || control->swapping()) continue;
        if (!control->player1()->isPlaying() || !control->player2()->isPlaying()) continue;
        const int shown1 = frameNumberShown(view1->currentFrame());
        const int shown2 = frameNumberShown(view2->currentFrame());
        if (shown1 < 0 || shown2 < 0) {
            ++stats.unreadable;
            continue;
        }
        offsets.push_back(std::abs(shown1 - shown2) * kFrameMs);
    }
    stats.samples = static_cast<int>(offsets.size());
    for (double offset : offsets) {
        stats.mean += offset;
        stats.worst = std::max(stats.worst, offset);
    }
    if (!offsets.empty()) stats.mean /= static_cast<double>(offsets.size());
    return stats;
}

void printOffsets(const char* label, const OffsetStats& stats) {
    std::printf("offset %-18s mean %6.1f ms  worst %6.1f ms  (%d samples, %d unreadable; goal <= 33 ms)\n", label,
                stats.mean, stats.worst, stats.samples, stats.unreadable);
}

long peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The fields of /proc/PID/stat after the name, state first; none when the
// process is gone. The name in parentheses may hold spaces.
std::vector<std::string> fieldsOfStatFile(const std::string& path) {
    std::ifstream stat(path);
    std::string line;
    if (!std::getline(stat, line)) return {};
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos) return {};
    std::istringstream rest(line.substr(close + 1));
    std::vector<std::string> fields;
    for (std::string field; rest >> field;) fields.push_back(field);
    return fields;
}

std::vector<std::string> statFieldsOf(long pid) { return fieldsOfStatFile("/proc/" + std::to_string(pid) + "/stat"); }

// Parent of every process.
std::map<long, long> parentsOfProcesses() {
    std::map<long, long> parents;
    const QStringList entries = QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool number = false;
        const long pid = entry.toLong(&number);
        if (!number) continue;
        const std::vector<std::string> fields = statFieldsOf(pid);
        if (fields.size() > 1) parents[pid] = std::stol(fields[1]);
    }
    return parents;
}

long proportionalKilobytesOf(long pid) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string header;
    std::getline(rollup, header);  // the address range
    std::string key;
    long value = 0;
    std::string unit;
    while (rollup >> key >> value >> unit) {
        if (key == "Pss:") return value;
    }
    return 0;
}

// This process and all its descendants: the map's renderer is started by
// a helper that the web engine starts.
std::set<long> processTree() {
    const std::map<long, long> parents = parentsOfProcesses();
    std::set<long> tree{static_cast<long>(::getpid())};
    for (bool grew = true; grew;) {
        grew = false;
        for (const auto& [pid, parent] : parents) {
            if (tree.count(parent) && tree.insert(pid).second) grew = true;
        }
    }
    return tree;
}

// The tree's proportional sets: shared pages are counted once in all.
long treeProportionalKilobytes() {
    long total = 0;
    for (long pid : processTree()) total += proportionalKilobytesOf(pid);
    return total;
}

// CPU time of a process and of the children it has waited for.
double cpuSecondsOf(long pid) {
    const std::vector<std::string> fields = statFieldsOf(pid);
    // utime, stime, cutime and cstime follow the state at the twelfth field.
    constexpr std::size_t kUserTime = 11;
    if (fields.size() < kUserTime + 4) return 0;
    double ticks = 0;
    for (std::size_t i = kUserTime; i < kUserTime + 4; ++i) ticks += std::stod(fields[i]);
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

std::string firstLineOf(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// CPU time of this process's threads that libVLC started: the threads
// Qt and the web engine start carry names of their own, libVLC's keep the
// program's name.
double libvlcThreadsCpuSeconds() {
    const std::string program = firstLineOf("/proc/self/comm");
    const QString self = QString::number(::getpid());
    double total = 0;
    const QStringList tasks = QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& task : tasks) {
        const std::string dir = "/proc/self/task/" + task.toStdString();
        if (task == self || firstLineOf(dir + "/comm") != program) continue;
        const std::vector<std::string> fields = fieldsOfStatFile(dir + "/stat");
        // utime and stime follow the state at the twelfth field.
        if (fields.size() < 13) continue;
        total += (std::stod(fields[11]) + std::stod(fields[12])) / static_cast<double>(::sysconf(_SC_CLK_TCK));
    }
    return total;
}

// The web engine's helpers are never waited for, so a timer around this
// process would miss their share: the whole tree is read instead.
double treeCpuSeconds() {
    double total = 0;
    for (long pid : processTree()) total += cpuSecondsOf(pid);
    return total;
}

// Read after playing, outside any measured span: the decoder holds more
// than one buffer at once only when it decodes straight into them.
void printFramePath(const VLCVideoView& view) {
    const VLCVideoView::BufferUse use = view.bufferUse();
    std::printf("path   planar YUV from libVLC at the video's size, %s, scaled and converted by libyuv on the CPU "
                "when painted (no GL path; %zu buffers, up to %zu held by the decoder at once)\n",
                use.mostLentAtOnce > 1 ? "decoded straight into the view's buffers" : "copied into the view's buffers",
                use.buffers, use.mostLentAtOnce);
}

// Waits the way the application's own event loop does; QTest::qWait would
// wake up every 10 ms to poll.
void waitInEventLoop(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    mapLargeBlocksApart();
    VLCLibrary::setExtraArguments({"--aout=dummy"});
    prepareWebEngine(runsAsRoot());
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: bench_playback FRONT.MP4 REAR.MP4 [--seconds N]\n");
        return 2;
    }
    int seconds = 10;
    const int secondsAt = static_cast<int>(args.indexOf("--seconds"));
    if (secondsAt > 0 && secondsAt + 1 < args.size()) seconds = args[secondsAt + 1].toInt();

    // The pair under the camera's names in a card of its own.
    QTemporaryDir card;
    QDir(card.path()).mkpath("Normal");
    const QString front = card.path() + "/Normal/alwa_20240101_120000_F.MP4";
    const QString rear = card.path() + "/Normal/alwa_20240101_120000_R.MP4";
    if (!QFile::link(QFileInfo(args[1]).absoluteFilePath(), front) ||
        !QFile::link(QFileInfo(args[2]).absoluteFilePath(), rear)) {
        std::fprintf(stderr, "cannot link the files into a card\n");
        return 1;
    }

    ORVAppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    bool reloaded = false;
    QObject::connect(&delegate, &ORVAppDelegate::mediaListReloaded, [&] { reloaded = true; });
    delegate.openDirectory(card.path());
    if (!QTest::qWaitFor([&] { return reloaded && !delegate.isScanning(); }, 10000)) return 1;
    delegate.clickMapViewButton();
    waitInEventLoop(2000);  // the map page loads
    delegate.clickMediaListViewButton();

    ORVPlayController* control = delegate.playController();
    auto* view1 = delegate.window()->findChild<VLCVideoView*>("videoView1");
    auto* view2 = delegate.window()->findChild<VLCVideoView*>("videoView2");
    const int frames1 = view1->framesPresented();
    const int frames2 = view2->framesPresented();
    const long idleKilobytes = treeProportionalKilobytes();
    const double cpuBeforePlay = treeCpuSeconds();
    QElapsedTimer start;
    start.start();
    control->changeAndPlay(0);
    const bool painted = QTest::qWaitFor(
        [&] { return view1->framesPresented() > frames1 && view2->framesPresented() > frames2; }, 10000);
    std::printf("start  double-click to first frame in both: %lld ms%s (goal <= 300 ms)\n",
                static_cast<long long>(start.elapsed()), painted ? "" : " (no frame!)");
    const QSize frame1 = view1->currentFrame().size();
    const QSize frame2 = view2->currentFrame().size();
    std::printf("frames main view %dx%d in %dx%d, second view %dx%d in %dx%d\n", frame1.width(), frame1.height(),
                view1->width(), view1->height(), frame2.width(), frame2.height(), view2->width(), view2->height());
    if (args.contains("--play-only")) {
        // For the CPU comparison: nothing but playing. A player that drops
        // pictures would look cheaper, so the pictures shown are counted.
        const int shown1 = view1->framesPresented();
        const int shown2 = view2->framesPresented();
        const VLCVideoView::CpuTime viewsBefore = VLCVideoView::cpuTime();
        const double decodeBefore = libvlcThreadsCpuSeconds();
        waitInEventLoop(seconds * 1000);
        std::printf("shown  in %d s: %d pictures in the main view, %d in the second\n", seconds,
                    view1->framesPresented() - shown1, view2->framesPresented() - shown2);
        // Shows whether the readouts followed a recording with telemetry.
        const auto* speed = delegate.window()->findChild<QLabel*>("speedField");
        std::printf("shown  speed readout at the end: %s\n", speed ? qPrintable(speed->text()) : "(none)");
        // Read before the stop, which ends libVLC's threads.
        const double decode = libvlcThreadsCpuSeconds() - decodeBefore;
        const VLCVideoView::CpuTime views = VLCVideoView::cpuTime();
        const double playing = treeCpuSeconds() - cpuBeforePlay;
        const double convert = views.convertSeconds - viewsBefore.convertSeconds;
        const double paint = views.paintSeconds - viewsBefore.paintSeconds;
        printFramePath(*view1);
        control->stopPlay();
        const double cpuInAll = treeCpuSeconds();
        std::printf("cpu    %.2f s in the application and its helper processes\n", cpuInAll);
        std::printf("cpu    of which %.2f s before the double-click (start-up, scan, map page), %.2f s playing\n",
                    cpuBeforePlay, cpuInAll - cpuBeforePlay);
        std::printf("cpu    of which playing: decode %.2f s (libVLC's threads), convert %.2f s, paint %.2f s, "
                    "rest %.2f s (the window, the map's processes, Qt)\n",
                    decode, convert, paint, playing - decode - convert - paint);
        return 0;
    }

    long treePeak = 0;
    QTimer memorySampler;
    QObject::connect(&memorySampler, &QTimer::timeout,
                     [&] { treePeak = std::max(treePeak, treeProportionalKilobytes()); });
    memorySampler.start(100);
    for (double speed : {1.0, 2.0}) {
        if (speed == 2.0) control->increaseSpeed();
        std::printf("-- speed %.0fx\n", speed);
        printOffsets("after start", sampleOffsets(control, view1, view2, seconds / 8));
        control->videoPositionSliderMoved(0.1);
        printOffsets("after slider seek", sampleOffsets(control, view1, view2, seconds / 8));
        control->jumpForward();
        printOffsets("after jump", sampleOffsets(control, view1, view2, seconds / 8));
        control->swapPlayer();
        QTest::qWait(1800);
        printOffsets("after swap", sampleOffsets(control, view1, view2, seconds / 8));
        control->swapPlayer();
        QTest::qWait(1800);
        control->videoPositionSliderMoved(0.0);
        QTest::qWait(400);
    }
    memorySampler.stop();
    std::printf("memory peak while playing with the map: %ld MB with its helper processes (proportional), "
                "%ld MB resident in the application alone (goal < 250 MB with the helpers)\n",
                treePeak / 1024, peakResidentKilobytes() / 1024);
    std::printf("memory before the first play (window, scan, map page): %ld MB with its helper processes; "
                "playing added %ld MB at the peak\n",
                idleKilobytes / 1024, (treePeak - idleKilobytes) / 1024);
    printFramePath(*view1);
    control->stopPlay();
    return 0;
}
