#include "app/Program.h"

#include "forms/TApplication.h"
#include "forms/Toolkit.h"
#include "platform/InstanceChannel.h"
#include "store/FolderLock.h"

namespace surftally {

void Program::build(const DataFolder& folder, const ProgramServices& services) {
    form1 = std::make_unique<TForm1>(application_, folder, services.clock, services.flags,
                                     services.shell, services.trayApplication, services.loadIcon);
    if (services.notificationAreaAvailable) {
        form1->setNotificationAreaCheck(services.notificationAreaAvailable);
    }
    form2 = std::make_unique<TForm2>(application_, *form1);
    form4 = std::make_unique<TForm4>(application_);
    form2->setHelpWindow(form4.get());
    history = std::make_unique<THistoryForm>(application_, *form1);
    form2->setHistoryWindow(history.get());
}

void Program::report(std::exception_ptr failure) {
    application_.Guarded([&] { std::rethrow_exception(failure); });
}

void Program::notificationAreaChanged(bool available) {
    application_.Guarded([&] { form1->NotificationAreaChanged(available); });
}

void Program::bringBack() {
    application_.Guarded([&] { form1->BringBack(); });
}

void Program::end() {
    if (!application_.Terminating()) {
        application_.Guarded([&] { form1->Close(); });
    }
}

int RunProgram(ProgramPlatform& platform, const DataFolder& folder) {
    // One program counts per data folder; a second start brings the running strip back.
    FolderLock lock;
    const std::unique_ptr<InstanceChannel> channel = platform.channel(folder);
    if (lock.tryAcquire(folder.path()) == FolderLock::Outcome::HeldElsewhere) {
        if (!channel->ask(3000)) {
            platform.showNoAnswer(folder);
        }
        return 0;
    }

    const std::unique_ptr<Toolkit> toolkit = platform.toolkit();
    TApplication application(*toolkit);
    const std::unique_ptr<PlatformSession> session = platform.start(application);
    Program program(application);
    session->onHandlerFailure([&program](std::exception_ptr failure) { program.report(failure); });
    try {
        program.build(folder, session->services());
    } catch (const std::exception& e) {
        // The notification icon could not be added: start-up stops here.
        platform.showStartFailure(e.what());
        return 1;
    }
    // An installer's close request ends at once: a message still on screen would hold the
    // program, and its files, until someone closed it.
    channel->listen([&program] { program.bringBack(); },
                    [&program, &toolkit] {
                        program.end();
                        toolkit->quit();
                    });
    session->connect(program);

    program.show();
    return session->run();
}

}  // namespace surftally
