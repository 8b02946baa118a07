#pragma once
// The course screen: 実力テスト, 基礎トレーニング or レベルアップトレーニング.
#include "LargeButtonScreen.h"

class CCourseDlg : public CLargeButtonScreen {
    Q_OBJECT
public:
    // parent: the menu, hidden while this screen is open and shown again on cancel.
    explicit CCourseDlg(QWidget* parent = nullptr);

    // 1, 2 or 3 after a course button; 0 until then.
    int CourseCode() const { return m_course; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void choose(int course);
    void cancel();

    int m_course = 0;
};
