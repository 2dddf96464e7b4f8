#pragma once

#include "AppTestSupport.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "ScriptedMessages.h"

#include <QObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace osago::test {

// A fresh program on a register of its own for every test function, its main window active.
class ProgramTestCase : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<ScriptedMessages> m_messages;
    QTemporaryDir m_folder;
    std::unique_ptr<Program> m_program;

private slots:
    void init()
    {
        m_messages = std::make_unique<ScriptedMessages>();
        m_program = std::make_unique<Program>(*m_messages, registerIn(m_folder));
        m_program->start();
        QVERIFY(activate(m_program->mainWindow()));
    }

    void cleanup()
    {
        m_program.reset();
        m_messages.reset();
    }
};

} // namespace osago::test
