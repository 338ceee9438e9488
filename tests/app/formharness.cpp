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
    close();
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
    start(services());
}

void FormHarness::close()
{
    form.reset();
    session.reset();
}

void FormHarness::start(const AppServices &services)
{
    close();
    session = std::make_unique<DiarySession>(dialogs, clock);
    form = std::make_unique<Form1>(services, *session);
}

Form1 &FormHarness::startWithoutPassword()
{
    withoutPassword();
    start();
    return *form;
}
