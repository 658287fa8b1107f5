#pragma once
// Prompts answered by the test: answers and file names are queued before the
// command runs, and every question, request and error is recorded.
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "gui/app/Prompts.h"

namespace pelm::test {

struct AskedQuestion {
    QString caption;
    QString text;
};

class ScriptedPrompts : public Prompts {
public:
    std::deque<PromptAnswer> answers;
    std::deque<QString> openNames;
    std::deque<QString> saveNames;

    std::vector<AskedQuestion> questions;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    QStringList errors;

    PromptAnswer askYesNoCancel(QWidget*, const QString& caption, const QString& text) override {
        questions.push_back({caption, text});
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return PromptAnswer::Cancel;
        }
        PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    QString openFileName(QWidget*, const FileDialogRequest& request) override {
        openRequests.push_back(request);
        return take(openNames, "open");
    }
    QString saveFileName(QWidget*, const FileDialogRequest& request) override {
        saveRequests.push_back(request);
        return take(saveNames, "save");
    }
    void showError(QWidget*, const QString& message) override { errors << message; }

private:
    static QString take(std::deque<QString>& queue, const char* what) {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected " << what << " dialog";
            return {};
        }
        QString name = queue.front();
        queue.pop_front();
        return name;
    }
};

}  // namespace pelm::test
