#pragma once

// Answering the program's message boxes and modal windows in tests.

#include "data/Messages.h"
#include "shell/ModalSeam.h"

#include <QList>
#include <QString>

struct TShownMessage {
    TMessageKind kind;
    QString caption;
    QString text;
};

// While alive, records every message box and answers questions with
// `confirmAnswer`.
class TMessageRecorder
{
public:
    explicit TMessageRecorder(bool confirmAnswer = true);
    ~TMessageRecorder();

    QList<TShownMessage> shown;
    bool confirmAnswer;

    QStringList texts() const;

private:
    TMessagePresenter m_previous;
};

// While alive, hands every modal window to `handler`.
class TModalAnswer
{
public:
    explicit TModalAnswer(TModalHandler handler);
    ~TModalAnswer();

private:
    TModalHandler m_previous;
};

// While alive, hands every modal window that is no dialog to `handler`.
class TModalWindowAnswer
{
public:
    explicit TModalWindowAnswer(TWindowModalHandler handler);
    ~TModalWindowAnswer();

private:
    TWindowModalHandler m_previous;
};

// Installed by the test main: any box or modal window nobody answers fails
// the running test.
void InstallUnexpectedAnswers();
