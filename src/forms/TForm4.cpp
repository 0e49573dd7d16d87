#include "forms/TForm4.h"

#include "accounting/Globals.h"
#include "forms/HelpTexts.h"
#include "forms/TForm1.h"
#include "forms/Texts.h"

namespace surftally {

namespace {

// Each line of the help texts fits the memo beside its scroll bar in a condensed face.
TFont memoFont() {
    return {{"Liberation Sans Narrow", "DejaVu Sans Condensed"}, 11, false, clBlack};
}

}  // namespace

TForm4::TForm4(TApplication& application) : TForm(application, FormStyle::Dialog, "Form4") {
    beginDialog(Texts::HelpCaption.english, {{"MS Sans Serif", "DejaVu Sans"}, 11, false, clBlack},
                kClientWidth, kClientHeight);
    createMemos();
    createImages();
    createButton();
    runFormCreate();
}

void TForm4::createMemos() {
    Memo1 = add<TMemo>(*this, "Memo1", HelpTexts::English());
    Memo1->setFont(memoFont());
    Memo1->setColor(clWindow);
    Memo1->setOpaque(true);
    Memo1->setBounds({8, 8, 393, 161});
    Memo2 = add<TMemo>(*this, "Memo2", HelpTexts::Serbian());
    Memo2->setVisible(false);
    Memo2->setFont(memoFont());
    Memo2->setColor(clWindow);
    Memo2->setOpaque(true);
    Memo2->setBounds({8, 7, 393, 186});
}

void TForm4::createImages() {
    struct Sample {
        TImage** image;
        const char* name;
        int top;
        DisplayPicture picture;
    };
    const Sample samples[] = {
        {&Image1, "Image1", 8, {"21:13:57", clBlack, clYellow}},    // clock
        {&Image2, "Image2", 40, {"013:26:09", clGreen, clWhite}},   // hold
        {&Image3, "Image3", 72, {"013:25:53", clYellow, clBlack}},  // countdown
        {&Image4, "Image4", 104, {"013:25:11", clRed, clWhite}},    // below the minimum
        {&Image5, "Image5", 136, {"011:44:27", clWhite, clBlue}},   // frozen
    };
    for (const Sample& sample : samples) {
        *sample.image = add<TImage>(*this, sample.name, sample.picture);
        (*sample.image)->setBounds({408, sample.top, TForm1::kWidth, TForm1::kHeight});
    }
}

void TForm4::createButton() {
    Button3 = addButton("Button3", Texts::HelpClose.english,
                        {{"MS Sans Serif", "DejaVu Sans"}, 11, true, clRed}, {455, 174, 73, 20});
    Button3->OnClick = [this] { Button3Click(); };
}

void TForm4::FormCreate() {
    if (Serbian) {
        setCaption(Texts::HelpCaption.serbian);
        Memo1->setVisible(false);
        Memo2->setVisible(true);
        Button3->setCaption(Texts::HelpClose.serbian);
    }
}

void TForm4::FormShow() {
    ShowOnTop();
}

void TForm4::Button3Click() {
    Hide();
}

}  // namespace surftally
