// The program's heap settings take effect: threads share one heap, and a large block freed goes
// back to the system rather than staying in the heap.
#include "platform/heap.h"

#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <thread>
#include <vector>

class TestHeap : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("the address sanitizer brings its own heap, which these settings do not reach");
#endif
        useProgramHeap();
    }
    void threadsShareOneHeap();
    void largeBlocksFromTheSystem();
};

namespace {
int heapCount()
{
    char *text = nullptr;
    size_t length = 0;
    FILE *out = open_memstream(&text, &length);
    if (!out)
        return -1;
    malloc_info(0, out);
    std::fclose(out);
    const QByteArray info(text, qsizetype(length));
    std::free(text);
    return int(info.count("<heap nr="));
}
} // namespace

void TestHeap::threadsShareOneHeap()
{
    // The test runner's own threads may have made theirs before the settings.
    const int before = heapCount();
    QVERIFY(before >= 1);
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([] {
            std::vector<void *> blocks;
            for (int i = 0; i < 1000; ++i)
                blocks.push_back(std::malloc(64));
            for (void *block : blocks)
                std::free(block);
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    QCOMPARE(heapCount(), before);
}

void TestHeap::largeBlocksFromTheSystem()
{
    // A large block freed would otherwise raise the size from which blocks come from the system.
    // Through a volatile pointer, so that the compiler keeps the block.
    void *volatile large = std::malloc(4 * 1024 * 1024);
    std::free(large);
    const size_t before = mallinfo2().hblkhd;
    void *volatile picture = std::malloc(512 * 1024);
    QVERIFY(picture);
    const size_t during = mallinfo2().hblkhd;
    std::free(picture);
    QVERIFY(during >= before + 512 * 1024);
    QCOMPARE(mallinfo2().hblkhd, before);
}

QTEST_GUILESS_MAIN(TestHeap)
#include "tst_heap.moc"
