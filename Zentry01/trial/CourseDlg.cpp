#include "CourseDlg.h"

#include "ProgramResources.h"

#include <QPushButton>

CCourseDlg::CCourseDlg(QWidget* parent) : CLargeButtonScreen(QStringLiteral("コース選択"), parent) {
    setObjectName(QStringLiteral("courseScreen"));
    addText(QStringLiteral("コースを選択してください。"), QStringLiteral("courseText"));
    struct Course {
        int code;
        const char* name;
        QString text;
    };
    const Course courses[] = {{1, "course1Button", QStringLiteral("　実力テスト(&1)")},
                              {2, "course2Button", QStringLiteral("　基礎トレーニング(&2)")},
                              {3, "course3Button", QStringLiteral("　レベルアップトレーニング(&3)")}};
    for (const Course& c : courses) {
        QPushButton* b = addButton(c.text, QLatin1String(c.name));
        const int code = c.code;
        connect(b, &QPushButton::clicked, this, [this, code] { choose(code); });
    }
    QPushButton* cancelButton = addButton(QStringLiteral("　キャンセル(&4)"), QStringLiteral("cancelButton"));
    connect(cancelButton, &QPushButton::clicked, this, &CCourseDlg::cancel);
    finishSetUp(ProgramIcon());
}

void CCourseDlg::showEvent(QShowEvent* event) {
    CLargeButtonScreen::showEvent(event);
    if (parentWidget())
        parentWidget()->hide();
}

void CCourseDlg::choose(int course) {
    // The menu stays hidden: the conditions screen follows at once.
    m_course = course;
    accept();
}

void CCourseDlg::cancel() {
    if (parentWidget())
        parentWidget()->show();
    reject();
}
