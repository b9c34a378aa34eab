#include <QtTest>
class T : public QObject { Q_OBJECT };
QTEST_MAIN(T)
#include "main_form_test.moc"
