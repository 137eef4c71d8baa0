#include "Answers.h"

#include <gtest/gtest.h>

TMessageRecorder::TMessageRecorder(bool answer) : confirmAnswer(answer)
{
    m_previous = SetMessagePresenter([this](TMessageKind kind, const QString &caption,
                                            const QString &text) {
        shown.append({kind, caption, text});
        return kind == TMessageKind::Confirm ? confirmAnswer : true;
    });
}

TMessageRecorder::~TMessageRecorder()
{
    SetMessagePresenter(m_previous);
}

QStringList TMessageRecorder::texts() const
{
    QStringList out;
    for (const TShownMessage &m : shown)
        out.append(m.text);
    return out;
}

TModalAnswer::TModalAnswer(TModalHandler handler)
    : m_previous(SetModalHandler(std::move(handler)))
{
}

TModalAnswer::~TModalAnswer()
{
    SetModalHandler(m_previous);
}

TModalWindowAnswer::TModalWindowAnswer(TWindowModalHandler handler)
    : m_previous(SetWindowModalHandler(std::move(handler)))
{
}

TModalWindowAnswer::~TModalWindowAnswer()
{
    SetWindowModalHandler(m_previous);
}

void InstallUnexpectedAnswers()
{
    SetMessagePresenter([](TMessageKind, const QString &caption, const QString &text) {
        ADD_FAILURE() << "unexpected message box \"" << caption.toStdString()
                      << "\": " << text.toStdString();
        return false;
    });
    SetModalHandler([](QDialog &dialog) {
        ADD_FAILURE() << "unexpected modal window " << dialog.objectName().toStdString();
        return int(QDialog::Rejected);
    });
    SetWindowModalHandler([](QWidget &window) {
        ADD_FAILURE() << "unexpected modal window " << window.objectName().toStdString();
        return 0;
    });
}
