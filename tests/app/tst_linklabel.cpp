#include "LinkLabel.h"

#include <QSignalSpy>
#include <QtTest>

// The link labels of the main window, the about box and the exit screen all react alike.
class TestLinkLabel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void clickAnywhereInTheRectangle_data();
    void clickAnywhereInTheRectangle();
    void otherButtonsDoNothing_data();
    void otherButtonsDoNothing();
    void releaseOutsideTakesTheClickBack();
    void keys_data();
    void keys();

private:
    std::unique_ptr<QWidget> m_window;
    LinkLabel *m_label = nullptr;
};

void TestLinkLabel::init()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(400, 100);
    // Much wider and taller than its text, as the designed rectangles are.
    m_label = new LinkLabel(QStringLiteral("Visit us"), m_window.get());
    m_label->setGeometry(10, 10, 300, 40);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestLinkLabel::cleanup()
{
    m_window.reset();
}

void TestLinkLabel::clickAnywhereInTheRectangle_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::newRow("over the text") << QPoint(15, 20);
    QTest::newRow("far right") << QPoint(298, 20);
    QTest::newRow("far left, below the text") << QPoint(1, 38);
    QTest::newRow("bottom right corner") << QPoint(299, 39);
}

void TestLinkLabel::clickAnywhereInTheRectangle()
{
    QFETCH(QPoint, point);
    QSignalSpy clicked(m_label, &LinkLabel::clicked);
    QTest::mouseClick(m_label, Qt::LeftButton, {}, point);
    QCOMPARE(clicked.size(), 1);
}

void TestLinkLabel::otherButtonsDoNothing_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestLinkLabel::otherButtonsDoNothing()
{
    QFETCH(Qt::MouseButton, button);
    QSignalSpy clicked(m_label, &LinkLabel::clicked);
    QTest::mouseClick(m_label, button, {}, QPoint(15, 20));
    QCOMPARE(clicked.size(), 0);
}

void TestLinkLabel::releaseOutsideTakesTheClickBack()
{
    QSignalSpy clicked(m_label, &LinkLabel::clicked);
    QTest::mousePress(m_label, Qt::LeftButton, {}, QPoint(15, 20));
    QTest::mouseRelease(m_label, Qt::LeftButton, {}, QPoint(350, 20));
    QCOMPARE(clicked.size(), 0);
    // A release alone is no click either.
    QTest::mouseRelease(m_label, Qt::LeftButton, {}, QPoint(15, 20));
    QCOMPARE(clicked.size(), 0);
}

void TestLinkLabel::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("clicks");
    QTest::newRow("Return") << int(Qt::Key_Return) << 1;
    QTest::newRow("Enter on the keypad") << int(Qt::Key_Enter) << 1;
    QTest::newRow("Space") << int(Qt::Key_Space) << 1;
    QTest::newRow("a letter") << int(Qt::Key_A) << 0;
}

void TestLinkLabel::keys()
{
    QFETCH(int, key);
    QFETCH(int, clicks);
    QCOMPARE(m_label->focusPolicy(), Qt::TabFocus);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_label->setFocus(Qt::TabFocusReason);
    QVERIFY(m_label->hasFocus());
    QSignalSpy clicked(m_label, &LinkLabel::clicked);
    QTest::keyClick(m_label, Qt::Key(key));
    QCOMPARE(clicked.size(), clicks);
}

QTEST_MAIN(TestLinkLabel)
#include "tst_linklabel.moc"
