#include "formharness.h"

#include "diary/passwordfile.h"
#include "testapplication.h"

#include <QLocale>

#include <gtest/gtest.h>

FormHarness::FormHarness()
{
    testApplication();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

FormHarness::~FormHarness()
{
    form.reset();
}

void FormHarness::withoutPassword()
{
    EXPECT_TRUE(passwordfile::write(data.root().passwordFile(), u"none"));
    dialogs.answerMessage(Dialogs::Button::Ok);
}

AppServices FormHarness::services()
{
    AppServices services;
    services.dialogs = &dialogs;
    services.clock = &clock;
    services.program = &program;
    services.openUrl = [this](const QUrl &url) {
        opened.append(url);
        return openSucceeds;
    };
    services.startDirectory = data.path();
    services.developmentFolder = developmentFolder;
    services.developmentDataFolder = developmentDataFolder;
    services.spelling = spelling;
    services.settingsFile = settingsFile;
    return services;
}

void FormHarness::start()
{
    form = std::make_unique<Form1>(services());
}

Form1 &FormHarness::startWithoutPassword()
{
    withoutPassword();
    start();
    return *form;
}
