// The shared font menu built over 300 families, as at start-up, then filtered. The families are
// installed faces copied under other names into a temporary folder. Prints the build time, the
// memory the menu takes, whether building fell back to the fast mode, and one filter step.

#include "BenchTiming.h"

#include "app/CApplicaiton.h"
#include "pages/FontFamilies.h"
#include "pages/GlobalFamiliesMenu.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Families = 300;
const char* const Faces[] = {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
                             "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"};
const QByteArray Original = "DejaVu";

// The bytes with every "DejaVu", in ASCII and in UTF-16BE, replaced by a name of the same length.
QByteArray renamed(QByteArray font, const QByteArray& name)
{
    font.replace(Original, name);
    QByteArray wideOriginal;
    QByteArray wideName;
    for (int i = 0; i < Original.size(); ++i) {
        wideOriginal.append('\0').append(Original.at(i));
        wideName.append('\0').append(name.at(i));
    }
    return font.replace(wideOriginal, wideName);
}

// Installs the copies; the family prefix of each copy is "F" and five digits.
bool installCopies(const QString& folder)
{
    const int copies = Families / int(std::size(Faces));
    for (const char* path : Faces) {
        QFile file(QString::fromLatin1(path));
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const QByteArray font = file.readAll();
        for (int i = 0; i < copies; ++i) {
            const QByteArray name = QByteArray("F") + QByteArray::number(i).rightJustified(5, '0');
            QFile copy(QDir(folder).filePath(QStringLiteral("%1-%2").arg(i).arg(QFileInfo(file).fileName())));
            if (!copy.open(QIODevice::WriteOnly) || copy.write(renamed(font, name)) < 0)
                return false;
            copy.close();
            if (QFontDatabase::addApplicationFont(copy.fileName()) < 0)
                return false;
        }
    }
    return true;
}

FamilyMap copiedFamilies()
{
    FamilyMap families;
    const FamilyMap all = systemFontFamilies();
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        if (it.key().startsWith(QLatin1Char('F')) && it.key().at(1).isDigit())
            families.insert(it.key(), it.value());
    }
    return families;
}

double filterStepMs(GlobalFamiliesMenu* menu, const QString& text)
{
    QElapsedTimer timer;
    timer.start();
    menu->onFilterEdited(text);
    menu->applyFilter();
    // The list lays itself out again on the next pass.
    QCoreApplication::processEvents();
    return timer.nsecsElapsed() / 1e6;
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    CApplicaiton app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid() || !installCopies(folder.path())) {
        std::fprintf(stderr, "bench_fontmenu: cannot install the font copies\n");
        return 1;
    }
    const FamilyMap families = copiedFamilies();
    QWidget parent;
    const long before = residentKb();
    QElapsedTimer first;
    first.start();
    auto* menu = new GlobalFamiliesMenu(&parent, 3, 19, 29, [&families] { return families; });
    const double firstMs = first.nsecsElapsed() / 1e6;
    const long after = residentKb();
    const bool fast = menu->isFastMode();
    delete menu;
    const double build = medianMs(3, [&] { delete new GlobalFamiliesMenu(&parent, 3, 19, 29, [&families] { return families; }); });

    menu = new GlobalFamiliesMenu(&parent, 3, 19, 29, [&families] { return families; });
    menu->show();
    QCoreApplication::processEvents();
    // Narrowing to one copy's families, and back to all of them.
    std::vector<double> narrow;
    std::vector<double> widen;
    for (int i = 0; i < 9; ++i) {
        narrow.push_back(filterStepMs(menu, QStringLiteral("f00042")));
        widen.push_back(filterStepMs(menu, QString()));
    }
    std::printf("families                               %9d\n", families.size());
    std::printf("first build of the menu                %9.2f ms (fast mode: %s)\n", firstMs, fast ? "yes" : "no");
    std::printf("build of the menu, median              %9.2f ms\n", build);
    std::printf("memory of the first menu               %9ld kB\n", after - before);
    std::printf("filter step to 2 families, median      %9.2f ms\n", median(narrow));
    std::printf("filter step back to all, median        %9.2f ms\n", median(widen));
    return 0;
}
