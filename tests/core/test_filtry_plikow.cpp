// The file dialogs' filters read as the program's dialogs name them, each pattern written
// once, while the dialog still lists only the files the pattern names.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QTest>
#include <QTimer>

#include "core/okno/Dialogi.h"

class TestFiltryPlikow : public QObject {
    Q_OBJECT
private slots:
    void napisyFiltrow_data() {
        QTest::addColumn<QString>("filtr");
        QTest::addColumn<QStringList>("napisy");
        QTest::newRow("bitmap") << "Bitmaps (*.bmp)|*.bmp" << QStringList{"Bitmaps (*.bmp)"};
        QTest::newRow("labels") << "Definicje tekstów na klawiszach (*.bm0)|*.bm0"
                                << QStringList{"Definicje tekstów na klawiszach (*.bm0)"};
        QTest::newRow("key files") << "Pliki tekstowe|*.txt|Wszystkie pliki|*.*"
                                   << QStringList{"Pliki tekstowe", "Wszystkie pliki"};
    }
    void napisyFiltrow() {
        QFETCH(QString, filtr);
        QFETCH(QStringList, napisy);
        QStringList pokazane, wzorce;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            if (auto* lista = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
                for (int i = 0; i < lista->count(); ++i)
                    pokazane << lista->itemText(i);
            wzorce = d->nameFilters();
            d->reject();
        });
        QtDialogi dialogi;
        QVERIFY(!dialogi.otworzPlik(nullptr, {{}, QDir::tempPath(), {}, filtr, {}}));
        QCOMPARE(pokazane, napisy);
        QCOMPARE(wzorce.size(), napisy.size()); // the patterns are still the dialog's
        QVERIFY2(wzorce.first().endsWith(filtr.section(QLatin1Char('|'), 1, 1) + QLatin1Char(')')),
                 qPrintable(wzorce.first()));
    }
};

QTEST_MAIN(TestFiltryPlikow)
#include "test_filtry_plikow.moc"
