#include "gui/editor/editor_fields.h"

#include "ui_editor_window.h"

namespace gamarium::gui {

std::vector<EditorField> editorFields(const Ui::TForm2& ui) {
    namespace g = store::games;
    constexpr FieldLook kept = FieldLook::Kept, coloured = FieldLook::Coloured, plain = FieldLook::Plain;
    constexpr bool tab = true, mouse = false;
    return {
        // field      control            label        look      Tab    picture chooser
        {g::N,         ui.EditN,         ui.Label1,   kept,     tab,   nullptr},
        {g::Region,    ui.EditRegion,    ui.Label4,   coloured, tab,   nullptr},
        {g::Year,      ui.EditYear,      ui.Label7,   coloured, tab,   nullptr},
        {g::Ngamers,   ui.EditNgamers,   ui.Label8,   coloured, tab,   nullptr},
        {g::Name,      ui.EditName,      ui.Label3,   coloured, tab,   nullptr},
        {g::Publisher, ui.EditPublisher, ui.Label11,  coloured, tab,   nullptr},
        {g::Developer, ui.EditDeveloper, nullptr,     coloured, mouse, nullptr},
        {g::Drname,    ui.EditDrname,    ui.Label25,  coloured, mouse, nullptr},
        {g::Analog,    ui.EditAnalog,    ui.Label24,  coloured, mouse, nullptr},
        {g::Sid,       ui.EditSid,       ui.Label2,   kept,     mouse, nullptr},
        {g::Rating,    ui.EditRating,    ui.Label26,  coloured, tab,   nullptr},
        {g::Patch,     ui.PatchEdit,     ui.Label6,   coloured, mouse, nullptr},
        {g::Image1,    ui.EditImage,     ui.Label13,  coloured, mouse, ui.Button1},
        {g::Image2,    ui.EditImage2,    ui.Label14,  coloured, mouse, ui.Button2},
        {g::Image3,    ui.EditImage3,    ui.Label15,  coloured, mouse, ui.Button3},
        {g::Image4,    ui.EditImage4,    ui.Label16,  coloured, mouse, ui.Button4},
        {g::Image5,    ui.EditImage5,    ui.Label17,  coloured, mouse, ui.Button5},
        {g::File,      ui.EditFile,      ui.Label27,  coloured, mouse, nullptr},
        {g::Size,      ui.EditSize,      ui.Label28,  coloured, tab,   nullptr},
        {g::Related,   ui.EditRelated,   ui.Label29,  plain,    tab,   nullptr},
        {g::Rsize,     ui.EditRsize,     ui.Label30,  plain,    tab,   nullptr},
        {g::Type,      ui.DBComboBox1,   ui.Label9,   coloured, tab,   nullptr},
        {g::Genre,     ui.DBComboBox2,   nullptr,     coloured, tab,   nullptr},
        {g::Text1,     ui.MemoText,      nullptr,     plain,    mouse, nullptr},
        {g::Text2,     ui.MemoText2,     nullptr,     plain,    mouse, nullptr},
        {g::Text3,     ui.MemoText3,     nullptr,     plain,    mouse, nullptr},
        {g::Text4,     ui.MemoText4,     nullptr,     plain,    mouse, nullptr},
    };
}

} // namespace gamarium::gui
