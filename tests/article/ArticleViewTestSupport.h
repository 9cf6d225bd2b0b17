// Fixture of the article view's tests: the article fixture's drive T: with single-article files
// written from record sources, a top-level recording frame that keeps what the view posts to it
// (and frees the objects that travel, as the real frame does), the resource library, and the
// view created in the frame at a screen class.
#pragma once

#include "ArticleTestSupport.h"

#include "article/ArticleMainWin.h"
#include "article/ArticleOutlineTabWin.h"
#include "article/ArticlePageWin.h"
#include "article/ArticleStateObj.h"
#include "article/RelatedArticlesTabWin.h"
#include "base/AppServices.h"
#include "base/ReferenceFactory.h"
#include "base/ReferenceList.h"
#include "base/VLMessages.h"

#include <ArticleSource.h>
#include <DialogDriver.h>

#include <host/Clipboard.h>
#include <host/Desktop.h>
#include <host/Paths.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace article_test {

// An article reference whose file is a given single-article file (kept by its clones).
class CFileReference : public CReference {
public:
    CFileReference(LONG nRin, const CString& strPath, LONG nBlocks, LPCSTR lpszTitle = "")
        : m_strPath(strPath)
    {
        SetLocation(nRin, 0, nBlocks);
        SetKind(REFKIND_ARTICLE);
        SetTitle(lpszTitle);
    }
    CString GetFilePath() override { return m_strPath; }
    CReference* Clone() override
    {
        auto* pClone = new CFileReference(GetNumber(), m_strPath, GetBlockCount(), GetTitle());
        if (CHitList* pHits = DYNAMIC_DOWNCAST(CHitList, GetData())) {
            auto* pCopy = new CHitList;
            for (CHitPosition* p = pHits->GetFirst(); p != NULL; p = pHits->GetNext())
                pCopy->AddHit(*p);
            pClone->SetData(pCopy);
        }
        return pClone;
    }

private:
    CString m_strPath;
};

// One message the view sent its frame.
struct FrameMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    // What travelled: a state's reference number and title, a title list, the hits' first section.
    LONG nRin = 0;
    CString strTitle;
    std::vector<std::string> titles;
    int nFirstHit = -1;
    LPARAM lParam = 0;  // borrowed objects only (the table view's document)
    CString strLink;
};

// The frame as the view sees it: a top-level window that records the view's messages.
class CRecordingFrame : public CWnd {
public:
    std::vector<FrameMessage> log;

    std::vector<FrameMessage> Of(UINT message) const
    {
        std::vector<FrameMessage> out;
        for (const FrameMessage& m : log)
            if (m.message == message)
                out.push_back(m);
        return out;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message < WM_USER || message >= 0x7000)
            return CWnd::WindowProc(message, wParam, lParam);
        FrameMessage m;
        m.message = message;
        m.wParam = wParam;
        CObject* pObject = reinterpret_cast<CObject*>(lParam);
        if (message == VLM_PUSH_STATE) {
            if (auto* pState = DYNAMIC_DOWNCAST(CArticleStateObj, pObject)) {
                m.nRin = pState->GetReference() != NULL ? pState->GetReference()->GetNumber() : 0;
                m.strTitle = pState->m_strTitle;
                if (auto* pHits = pState->GetReference() != NULL
                                      ? DYNAMIC_DOWNCAST(CHitList, pState->GetReference()->GetData())
                                      : NULL)
                    m.nFirstHit = pHits->GetCount() > 0 ? static_cast<int>(pHits->GetFirst()->GetSection()) : -1;
            }
            delete pObject;
        } else if (message == VLM_RECENT_ARTICLES) {
            auto* pTitles = reinterpret_cast<CStringArray*>(lParam);
            for (int i = 0; i < pTitles->GetSize(); ++i)
                m.titles.push_back(static_cast<LPCSTR>(pTitles->GetAt(i)));
            delete pTitles;
        } else if (message == VLM_OPEN_WINDOW && wParam == IDW_TABLE) {
            m.lParam = lParam;  // the view's document, borrowed
        } else if (message == VLM_OPEN_WINDOW || message == VLM_POST_TO_WINDOW) {
            if (auto* pRef = DYNAMIC_DOWNCAST(CReference, pObject)) {
                m.nRin = pRef->GetNumber();
                m.strTitle = pRef->GetTitle();
                m.strLink = pRef->GetLinkText();
            }
            delete pObject;
        }
        log.push_back(m);
        return 0;
    }
};

class ArticleViewTest : public ArticleTest {
protected:
    void SetUp() override
    {
        ArticleTest::SetUp();
        ResetAppServices();
        CArticleMainWin::ResetSharedState();
        CArticlePageWin::ResetSharedState();
        auto path = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        ASSERT_TRUE(path.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(path->c_str());
        AppServices().owned.pReferenceFactory = &factory;
        std::filesystem::create_directories(HostT("download"));
        ASSERT_TRUE(WritePrivateProfileString("Online", "Download", "T:\\download\\", "T:\\vl00i1se.ini"));
    }
    void TearDown() override
    {
        DestroyView();
        AppServices().owned.pReferenceFactory = nullptr;
        host::ResetClipboard();
        ResetAppServices();
        ArticleTest::TearDown();
    }

    // The frame (width x height, the view filling it below a 50-pixel tool band) and the view.
    void MakeView(int nScreenClass = 1, int width = 800, int height = 600)
    {
        host::SetDesktopSize(width, height);
        AppServices().env.nScreenClass = nScreenClass;
        AppServices().env.nScreenWidth = width;
        AppServices().env.nScreenHeight = height;
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                                           static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH))),
                                   "Frame", WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0));
        view = new CArticleMainWin;
        ASSERT_TRUE(view->Create(&frame, CRect(0, 50, width, height)));
        view->ShowWindow(SW_SHOW);
        ui::PumpUntilIdle();
        frame.log.clear();
    }
    void DestroyView()
    {
        if (view != nullptr) {
            view->DestroyWindow();
            delete view;
            view = nullptr;
        }
        if (frame.GetSafeHwnd() != nullptr)
            frame.DestroyWindow();
    }

    // A reference to a single-article file T:\<name> written from the source.
    CFileReference* Article(const discbuilder::ArticleRecordSource& source, const std::string& name) const
    {
        const std::string bytes = discbuilder::WriteArticleRecord(source);
        const std::string path = WriteRcv(bytes, name);
        return new CFileReference(source.rin, path.c_str(), static_cast<LONG>(BlocksFor(bytes.size())));
    }
    // A plain new-layout article with one section.
    static discbuilder::ArticleRecordSource Plain(int rin, const std::string& title)
    {
        discbuilder::ArticleRecordSource s;
        s.rin = rin;
        s.formatYear = 1999;
        s.title = title;
        discbuilder::RecordSection section;
        section.title = "About " + title;
        section.runs.push_back({.kind = 0, .text = "Text of " + title + "."});
        s.sections = {section};
        return s;
    }
    // A sample article's source.
    static discbuilder::ArticleRecordSource Sample(const std::string& file)
    {
        std::ifstream in(std::string(VL_SAMPLE_DIR) + "/articles/" + file);
        std::stringstream text;
        text << in.rdbuf();
        return discbuilder::ParseArticleSource(text.str(), file, std::filesystem::path(VL_SAMPLE_DIR) / "pictures");
    }

    CReferenceFactory factory;
    CRecordingFrame frame;
    CArticleMainWin* view = nullptr;
};

}  // namespace article_test
