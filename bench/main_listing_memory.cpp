// One peak-memory figure per process: "empty" shows the delivery grid and paints it, "listing"
// also searches and paints the result. Prints the process's peak resident size and, for a listing,
// the size of the texts the search returned.

#include "DeliveryListing.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

namespace {

// VmHWM of /proc/self/status in bytes: the peak resident size of this process image. (getrusage
// is no use here: across the exec it keeps the high-water mark of the parent's memory.)
long long peakResidentBytes()
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    long long kilobytes = -1;
    char line[256];
    while (std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmHWM: %lld kB", &kilobytes) == 1)
            break;
    }
    std::fclose(status);
    return kilobytes < 0 ? -1 : kilobytes * 1024;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[2], "empty") != 0 && std::strcmp(argv[2], "listing") != 0)) {
        std::fprintf(stderr, "usage: listing_memory DATABASE empty|listing\n");
        return 2;
    }
    const bool listing = std::strcmp(argv[2], "listing") == 0;
    const QString file = QString::fromLocal8Bit(argv[1]);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    DeliveryListing grid(file);
    if (!grid.isConnected()) {
        std::fprintf(stderr, "listing_memory: %s\n", qPrintable(grid.error()));
        return 1;
    }
    grid.show();
    int rows = 0;
    if (listing) {
        rows = grid.search();
        if (rows < 0) {
            std::fprintf(stderr, "listing_memory: %s\n", qPrintable(grid.error()));
            return 1;
        }
    }
    const long long peak = peakResidentBytes();
    // Measured after the peak was read, so it does not count towards it.
    const long long tableBytes = listing ? grid.tableTextBytes() : 0;
    std::printf("peak_bytes=%lld table_bytes=%lld rows=%d\n", peak, tableBytes, rows);
    return peak < 0 ? 1 : 0;
}
