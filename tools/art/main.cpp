// vlart: draws the art that no artist drew, before the resource compiler runs.
//
//   vlart --out DIR
//
// Writes DIR/program (the program's own art), DIR/notepad (the editor's) and DIR/res0, DIR/res1, DIR/res2 (the screen-class
// libraries' art), each with the image and sound files and an art.rci that names them for the
// resource scripts. A file whose contents did not change is left alone, so the bundles that use
// it are not rebuilt.
#include "ArtFiles.h"
#include "AtlasArt.h"
#include "ArtTable.h"
#include "Painter.h"

#include <filesystem>
#include <fstream>
#include <exception>
#include <iostream>
#include <iterator>

namespace {

bool WriteIfChanged(const std::filesystem::path& path, const std::string& bytes)
{
    {
        std::ifstream in(path, std::ios::binary);
        if (in && std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) == bytes)
            return true;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// Draws the rows at one screen class into a folder; false (with a message) on a failure.
bool Generate(const std::vector<art::Row>& rows, int screenClass, const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder);
    std::string script = "// Written by vlart from its table: the art of this module.\n";
    for (const art::Row& row : rows) {
        std::string name;
        std::string bytes;
        const art::Size size = row.sizes[screenClass];
        switch (row.kind) {
        case art::Kind::Bitmap: {
            if (row.look == art::Look::GlobeMap || row.look == art::Look::InsetMap) {
                try {
                    bytes = atlas::EarthBitmapFile(atlas::SharedEarthImage(), size.width, size.height);
                } catch (const std::exception& e) {
                    std::cerr << "vlart: error: cannot draw bitmap " << row.id << ": " << e.what() << "\n";
                    return false;
                }
                name = "b" + std::to_string(row.id) + ".bmp";
                script += std::to_string(row.id) + " BITMAP \"" + name + "\"\n";
                break;
            }
            art::Picture picture = art::Paint(row.look, size.width, size.height, art::Label(row.id));
            if (picture.bgr.empty()) {
                std::cerr << "vlart: error: cannot draw bitmap " << row.id << "\n";
                return false;
            }
            name = "b" + std::to_string(row.id) + ".bmp";
            bytes = art::IsIndexed(row.look) ? art::IndexedBmpFile(picture) : art::BmpFile(picture);
            script += std::to_string(row.id) + " BITMAP \"" + name + "\"\n";
            break;
        }
        case art::Kind::Icon: {
            std::vector<art::Picture> images = {art::Paint(row.look, 16, 16, art::Label(row.id)),
                                                  art::Paint(row.look, 32, 32, art::Label(row.id))};
            if (images[0].bgr.empty() || images[1].bgr.empty()) {
                std::cerr << "vlart: error: cannot draw icon " << row.id << "\n";
                return false;
            }
            name = "i" + std::to_string(row.id) + ".ico";
            bytes = art::IcoFile(images, art::kIconKeyBgr);
            script += std::to_string(row.id) + " ICON \"" + name + "\"\n";
            break;
        }
        case art::Kind::Cursor: {
            art::Picture picture = art::Paint(row.look, size.width, size.height, art::Label(row.id));
            if (picture.bgr.empty()) {
                std::cerr << "vlart: error: cannot draw cursor " << row.id << "\n";
                return false;
            }
            name = "c" + std::to_string(row.id) + ".cur";
            bytes = art::CurFile(picture, art::kIconKeyBgr, row.sizes[1].width, row.sizes[1].height);
            script += std::to_string(row.id) + " CURSOR \"" + name + "\"\n";
            break;
        }
        case art::Kind::Wave:
            name = "w" + std::to_string(row.id) + ".wav";
            bytes = art::WavFile(row.sizes[0].width, row.sizes[0].height);
            script += std::to_string(row.id) + " WAVE \"" + name + "\"\n";
            break;
        }
        if (!WriteIfChanged(folder / name, bytes)) {
            std::cerr << "vlart: error: cannot write " << (folder / name).string() << "\n";
            return false;
        }
    }
    if (!WriteIfChanged(folder / "art.rci", script)) {
        std::cerr << "vlart: error: cannot write " << (folder / "art.rci").string() << "\n";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::string(argv[1]) != "--out") {
        std::cerr << "usage: vlart --out DIR\n";
        return 2;
    }
    std::filesystem::path out = argv[2];
    if (!Generate(art::ProgramArt(), 0, out / "program"))
        return 1;
    if (!Generate(art::NotepadArt(), 0, out / "notepad"))
        return 1;
    for (int screenClass = 0; screenClass < 3; ++screenClass)
        if (!Generate(art::LibraryArt(), screenClass, out / ("res" + std::to_string(screenClass))))
            return 1;
    return 0;
}
