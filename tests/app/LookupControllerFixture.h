#pragma once
// The lookup controller on real controls and a real dictionary file, as its suites start each
// case: a window holding the controls, the list filled at load, fakes for the prompter and the
// panes, and the ways a case sets the controls up and fires a command.
#include "AppState.h"
#include "DictionaryCache.h"
#include "DreamFile.h"
#include "DreamTable.h"
#include "Fakes.h"
#include "KeywordListModel.h"
#include "KeywordListView.h"
#include "LookupController.h"
#include "RecordingPaneHost.h"
#include "TestDictionary.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

enum class Trigger { SearchButton, EnterKey, DisplayButton, DoubleClick };
Q_DECLARE_METATYPE(LookupDecisions::SearchMode)
Q_DECLARE_METATYPE(Trigger)
Q_DECLARE_METATYPE(DreamTable::ListState)

class LookupControllerFixture
{
public:
    using SearchMode = LookupDecisions::SearchMode;
    using ListState = DreamTable::ListState;

    void setUp()
    {
        m_folder = std::make_unique<TestFolder>();
        DreamFile::write(dictionary());
        m_cache = std::make_unique<DictionaryCache>();
        m_prompter = std::make_unique<FakePrompter>();
        m_panes = std::make_unique<RecordingPaneHost>();
        m_state = std::make_unique<AppState>();
        buildWindow();

        m_lookup = std::make_unique<LookupController>(
            m_ui, *m_panes, *m_prompter, *m_state, *m_cache, dictionary());
        m_lookup->connectControls();
        m_lookup->fillAtLoad();
        QCOMPARE(listed(), DreamTable::fullList());

        m_window->resize(360, 760);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        // A message box takes the focus while it is up.
        m_prompter->onPrompt = [this](const QString &) { m_ui.cmdSearch->setFocus(); };
    }

    void tearDown()
    {
        m_lookup.reset();
        m_window.reset();
        m_state.reset();
        m_panes.reset();
        m_prompter.reset();
        m_folder.reset();
    }

    QRadioButton *option(SearchMode mode) const
    {
        return mode == SearchMode::Exact   ? m_ui.optExact
            : mode == SearchMode::WildCard ? m_ui.optWildCard
                                           : m_ui.optGoogle;
    }

    // Puts the window in the state a case starts from; typing comes first, as its restore
    // would otherwise refill the list.
    void prepare(SearchMode mode, const QString &typed, ListState list, int selectedRow = -1)
    {
        option(mode)->setChecked(true);
        m_ui.txtKey->setText(typed);
        if (list == ListState::Full)
            QCOMPARE(listed(), DreamTable::fullList());
        else
            m_ui.keywords->setKeys(DreamTable::listed(list));
        if (selectedRow >= 0)
            m_ui.lstKeys->setCurrentIndex(m_ui.keywords->index(selectedRow));
        else
            m_ui.lstKeys->clearSelection();
        m_state->CurrentTerm = DreamTable::Untouched;
        m_prompter->prompts.clear();
        m_panes->calls.clear();
    }

    void fire(Trigger trigger, int selectedRow = -1)
    {
        switch (trigger) {
        case Trigger::SearchButton:
            QTest::mouseClick(m_ui.cmdSearch, Qt::LeftButton);
            break;
        case Trigger::EnterKey:
            m_ui.txtKey->setFocus();
            QTest::keyClick(m_ui.txtKey, Qt::Key_Return);
            break;
        case Trigger::DisplayButton:
            QTest::mouseClick(m_ui.cmdDisplay, Qt::LeftButton);
            break;
        case Trigger::DoubleClick:
            m_ui.lstKeys->setFocus();
            doubleClickRow(selectedRow);
            break;
        }
    }

    void doubleClickRow(int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QWidget *viewport = m_ui.lstKeys->viewport();
        QPoint where;
        if (row >= 0) {
            where = m_ui.lstKeys->visualRect(m_ui.keywords->index(row)).center();
        } else {
            // Below the last row, where there is no item.
            where = QPoint(20, viewport->height() - 5);
            QVERIFY(!m_ui.lstKeys->indexAt(where).isValid());
        }
        // QTest sends a double-click event alone; a real one follows a click and ends in a
        // release (the second press reaches the widget as the double-click itself).
        QTest::mouseClick(viewport, button, {}, where);
        QTest::mouseDClick(viewport, button, {}, where);
        QTest::mouseRelease(viewport, button, {}, where);
    }

    QStringList listed() const { return m_ui.keywords->keys(); }
    QString dictionary() const { return m_folder->dictionary(); }

    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<DictionaryCache> m_cache;
    std::unique_ptr<FakePrompter> m_prompter;
    std::unique_ptr<RecordingPaneHost> m_panes;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<LookupController> m_lookup;
    LookupControls m_ui;

private:
    void buildWindow()
    {
        m_window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(m_window.get());
        m_ui.optExact = new QRadioButton(QStringLiteral("Exact Search"));
        m_ui.optWildCard = new QRadioButton(QStringLiteral("Use WildCard (*)"));
        m_ui.optGoogle = new QRadioButton(QStringLiteral("Google Search"));
        m_ui.txtKey = new QLineEdit;
        m_ui.cmdSearch = new QPushButton(QStringLiteral("&Search"));
        m_ui.keywords = new KeywordListModel(m_window.get());
        m_ui.lstKeys = new KeywordListView;
        m_ui.lstKeys->setModel(m_ui.keywords);
        m_ui.cmdDisplay = new QPushButton(QStringLiteral("&Display"));
        for (QWidget *control : std::initializer_list<QWidget *> { m_ui.optExact, m_ui.optWildCard,
                 m_ui.optGoogle, m_ui.txtKey, m_ui.cmdSearch, m_ui.lstKeys, m_ui.cmdDisplay })
            layout->addWidget(control);
        m_ui.optExact->setChecked(true);
    }
};
