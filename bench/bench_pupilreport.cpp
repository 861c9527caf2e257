// One pupil's report over a school year (28 pupils, 160 days, 3 exercises a day each) printed
// to a PDF file, as "Imprimer…" does from the summary window, which has the exercises in
// memory; and the class list's work on that year: listing the pupils, renaming one.
#include "guibenchmain.h"
#include "schoolyear.h"

#include "records/classlist.h"
#include "records/pupilreport.h"
#include "records/summarycache.h"

#include <QFileInfo>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

namespace {
SchoolYear &schoolYear()
{
    static SchoolYear year;
    return year;
}

void printReport(benchmark::State &state, bool readFirst)
{
    SchoolYear &year = schoolYear();
    QTemporaryDir dir;
    const QString pdfPath = dir.filePath(QStringLiteral("bilan.pdf"));
    SummaryCache warm;
    std::vector<ExerciseSummary> all = warm.read(year.folder).exercises;
    int pages = 0;
    for (auto _ : state) {
        if (readFirst) {
            SummaryCache cache;
            all = cache.read(year.folder).exercises;
        }
        PupilReport report(all, QStringLiteral("Élève 7"), QDate(2026, 9, 1), QDate(2027, 6, 30));
        QPdfWriter pdf(pdfPath);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        pdf.setResolution(1200); // a printer's
        if (!report.paint(pdf) || report.exerciseCount() != 480)
            state.SkipWithError("the report was not printed whole");
        pages = report.pageCount();
    }
    state.counters["pages"] = pages;
    state.counters["PDF_kB"] = double(QFileInfo(pdfPath).size()) / 1e3;
}

// From the exercises the window holds to the PDF file.
void BM_PrintPupilReportYear(benchmark::State &state)
{
    printReport(state, false);
}
BENCHMARK(BM_PrintPupilReportYear)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same, the year's records read from the disk first (a window opened for it).
void BM_ReadAndPrintPupilReportYear(benchmark::State &state)
{
    printReport(state, true);
}
BENCHMARK(BM_ReadAndPrintPupilReportYear)->Unit(benchmark::kMillisecond)->Iterations(2);

// The pupils of the year and their lines, as the "Élèves" dialog opens.
void BM_ListPupilsYear(benchmark::State &state)
{
    SchoolYear &year = schoolYear();
    for (auto _ : state) {
        if (ClassList::pupils(year.folder).pupils.size() != 28)
            state.SkipWithError("not 28 pupils");
    }
}
BENCHMARK(BM_ListPupilsYear)->Unit(benchmark::kMillisecond)->Iterations(3);

// One pupil renamed through the year: every file read, the pupil's 160 day files written
// beside themselves, synced and put in place. Renamed back in turn.
void BM_RenamePupilYear(benchmark::State &state)
{
    SchoolYear &year = schoolYear();
    const QString names[] = {QStringLiteral("Élève 3"), QStringLiteral("Élève trois")};
    int turn = 0;
    ClassList::Change change;
    for (auto _ : state) {
        change = ClassList::rename(year.folder, names[turn % 2], names[(turn + 1) % 2]);
        ++turn;
        if (!change.failures.isEmpty() || change.lines == 0)
            state.SkipWithError("the rename failed");
    }
    if (turn % 2 == 1)
        ClassList::rename(year.folder, names[1], names[0]);
    state.counters["lines"] = double(change.lines);
    state.counters["files"] = change.files;
}
BENCHMARK(BM_RenamePupilYear)->Unit(benchmark::kMillisecond)->Iterations(2);
}

int main(int argc, char **argv)
{
    return runGuiBenchmarks(argc, argv);
}
