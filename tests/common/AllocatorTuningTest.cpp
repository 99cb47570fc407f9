#include "common/linux/AllocatorTuning.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

using namespace zentrova;

namespace {

long residentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A thread's heap left full of holes, as a decoder leaves it: many blocks
// written and freed, one kept at the end so the heap cannot simply shrink.
void* leaveHolesInAThreadsHeap(int blocks, std::size_t blockBytes) {
    void* kept = nullptr;
    std::thread worker([&] {
        std::vector<char*> taken;
        for (int i = 0; i < blocks; ++i) {
            auto* block = static_cast<char*>(std::malloc(blockBytes));
            for (std::size_t at = 0; at < blockBytes; at += 4096) block[at] = 1;
            taken.push_back(block);
        }
        kept = std::malloc(blockBytes);
        static_cast<char*>(kept)[0] = 1;
        for (char* block : taken) std::free(block);
    });
    worker.join();
    return kept;
}

}  // namespace

TEST(AllocatorTuningTest, FreedHolesInAThreadsHeapGoBackToTheSystem) {
    mapLargeBlocksApart();  // as the application runs
    void* kept = leaveHolesInAThreadsHeap(400, 200 * 1024);
    const long before = residentKilobytes();
    EXPECT_TRUE(returnFreedMemory());
    const long after = residentKilobytes();
    // 80 MB of holes were written; most of it must be gone.
    EXPECT_LT(after, before - 60 * 1024) << "before " << before << " kB, after " << after << " kB";
    std::free(kept);
}
