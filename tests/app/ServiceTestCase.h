#pragma once

#include "ExportTestSupport.h"
#include "RecordingPrinter.h"
#include "RegisterTestSupport.h"
#include "ScriptedFileChoices.h"
#include "ScriptedMessages.h"
#include "grid/RegisterModel.h"

#include <QObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

namespace osago::test {

// A fresh program for every test function of the menu "Сервис", on a register file of its own with four rows
// issued on 10-13.03.2026; the files the agent chooses are scripted, the documents printed recorded.
class ServiceTestCase : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<ScriptedMessages> m_messages;
    ScriptedFileChoices* m_files = nullptr;
    RecordingPrinter* m_printer = nullptr;
    std::unique_ptr<Program> m_program;
    // The rows stored, as the export writes them.
    std::vector<QStringList> m_rows;

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_messages = std::make_unique<ScriptedMessages>();
        auto files = std::make_unique<ScriptedFileChoices>();
        m_files = files.get();
        auto printer = std::make_unique<RecordingPrinter>();
        m_printer = printer.get();
        m_program = std::make_unique<Program>(
            *m_messages,
            ProgramOptions{m_folder->filePath(QStringLiteral("Baza.mdb")), std::move(printer), std::move(files)});
        m_program->start();
        m_rows.clear();
        for (int n = 0; n < 4; ++n) {
            const PolicyRow row = awkwardRow(n, QStringLiteral("1%1.03.2026").arg(n));
            const auto saved = m_program->database().insert(row);
            QVERIFY(saved.ok);
            m_rows.push_back(row.values());
            m_rows.back()[rowCodeColumnIndex()] = saved.value;
        }
        QVERIFY(m_program->registerModel().refresh().ok);
        QVERIFY(QTest::qWaitForWindowExposed(&m_program->mainWindow()));
    }

    void cleanup()
    {
        m_program.reset();
        m_messages.reset();
        m_folder.reset();
    }
};

} // namespace osago::test
