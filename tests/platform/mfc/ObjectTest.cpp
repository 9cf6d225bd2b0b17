#include <afx.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

// Classes with runtime information live at namespace scope like in product code.
class CRtShape : public CObject {
    DECLARE_DYNAMIC(CRtShape)
};
IMPLEMENT_DYNAMIC(CRtShape, CObject)

class CRtCircle : public CRtShape {
    DECLARE_DYNCREATE(CRtCircle)
public:
    int m_nRadius = 7;
};
IMPLEMENT_DYNCREATE(CRtCircle, CRtShape)

class CRtLabel : public CObject {
    DECLARE_SERIAL(CRtLabel)
public:
    CString m_strText = "label";
};
IMPLEMENT_SERIAL(CRtLabel, CObject, VERSIONABLE_SCHEMA | 3)

namespace {

std::string g_traced;
void Capture(LPCSTR text) { g_traced += text; }

}  // namespace

TEST(RuntimeClass, RecordsNameSizeSchemaAndBase)
{
    struct Case {
        const CRuntimeClass* pClass;
        const char* name;
        int size;
        UINT schema;
        const CRuntimeClass* base;
        bool creatable;
    } cases[] = {
        {RUNTIME_CLASS(CObject), "CObject", sizeof(CObject), 0xFFFF, NULL, false},
        {RUNTIME_CLASS(CRtShape), "CRtShape", sizeof(CRtShape), 0xFFFF, RUNTIME_CLASS(CObject), false},
        {RUNTIME_CLASS(CRtCircle), "CRtCircle", sizeof(CRtCircle), 0xFFFF, RUNTIME_CLASS(CRtShape), true},
        {RUNTIME_CLASS(CRtLabel), "CRtLabel", sizeof(CRtLabel), 0x80000003u, RUNTIME_CLASS(CObject), true},
        {RUNTIME_CLASS(CFileException), "CFileException", sizeof(CFileException), 0xFFFF, RUNTIME_CLASS(CException), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(c.pClass->m_lpszClassName, c.name);
        EXPECT_EQ(c.pClass->m_nObjectSize, c.size);
        EXPECT_EQ(c.pClass->m_wSchema, c.schema);
        EXPECT_EQ(c.pClass->m_pBaseClass, c.base);
        EXPECT_EQ(c.pClass->m_pfnCreateObject != NULL, c.creatable);
    }
}

TEST(RuntimeClass, IsKindOfFollowsTheBaseChain)
{
    CRtCircle circle;
    CRtLabel label;
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CRtCircle)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CRtShape)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CRtLabel)));
    EXPECT_FALSE(label.IsKindOf(RUNTIME_CLASS(CRtShape)));
    EXPECT_EQ(circle.GetRuntimeClass(), RUNTIME_CLASS(CRtCircle));
    EXPECT_FALSE(circle.IsSerializable());
    EXPECT_TRUE(label.IsSerializable());
    EXPECT_TRUE(RUNTIME_CLASS(CRtCircle)->IsDerivedFrom(RUNTIME_CLASS(CRtShape)));
    EXPECT_FALSE(RUNTIME_CLASS(CRtShape)->IsDerivedFrom(RUNTIME_CLASS(CRtCircle)));
}

TEST(RuntimeClass, CreateObjectMakesTheRightClassOrNothing)
{
    std::unique_ptr<CObject> pCircle(RUNTIME_CLASS(CRtCircle)->CreateObject());
    ASSERT_NE(pCircle, nullptr);
    EXPECT_EQ(pCircle->GetRuntimeClass(), RUNTIME_CLASS(CRtCircle));
    EXPECT_EQ(static_cast<CRtCircle*>(pCircle.get())->m_nRadius, 7);

    AfxSetTraceSink(&Capture);
    g_traced.clear();
    EXPECT_EQ(RUNTIME_CLASS(CRtShape)->CreateObject(), nullptr);
    AfxSetTraceSink(nullptr);
    EXPECT_NE(g_traced.find("CRtShape"), std::string::npos);
}

TEST(RuntimeClass, FromNameFindsRegisteredClasses)
{
    EXPECT_EQ(CRuntimeClass::FromName("CRtLabel"), RUNTIME_CLASS(CRtLabel));
    EXPECT_EQ(CRuntimeClass::FromName("CRtCircle"), RUNTIME_CLASS(CRtCircle));
    EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
    EXPECT_EQ(CRuntimeClass::FromName("CFileException"), RUNTIME_CLASS(CFileException));
    EXPECT_EQ(CRuntimeClass::FromName("crtlabel"), nullptr);  // names are case-sensitive
    EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(NULL), nullptr);

    std::unique_ptr<CObject> pLabel(CRuntimeClass::CreateObject("CRtLabel"));
    ASSERT_NE(pLabel, nullptr);
    EXPECT_EQ(static_cast<CRtLabel*>(pLabel.get())->m_strText, "label");
    EXPECT_EQ(CRuntimeClass::CreateObject("CNoSuchClass"), nullptr);
}

TEST(RuntimeClass, UnregisteringTakesTheClassOut)
{
    static const CRuntimeClass classTemporary = {"CTemporary", sizeof(CObject), 1, NULL, RUNTIME_CLASS(CObject)};
    {
        AFX_CLASSINIT init(const_cast<CRuntimeClass*>(&classTemporary));
        EXPECT_EQ(CRuntimeClass::FromName("CTemporary"), &classTemporary);
    }
    EXPECT_EQ(CRuntimeClass::FromName("CTemporary"), nullptr);
}

TEST(RuntimeClass, DownCasts)
{
    CRtCircle circle;
    CRtLabel label;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CRtShape, &circle), &circle);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CRtShape, &label), nullptr);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CRtShape, static_cast<CObject*>(NULL)), nullptr);
    EXPECT_EQ(STATIC_DOWNCAST(CRtShape, &circle), &circle);
#ifdef _DEBUG
    EXPECT_DEATH(STATIC_DOWNCAST(CRtShape, &label), "Assertion failed");
#endif
}

TEST(Object, DumpNamesTheClass)
{
    CRtCircle circle;
    g_traced.clear();
    AfxSetTraceSink(&Capture);
    afxDump << &circle;
    AfxSetTraceSink(nullptr);
    EXPECT_EQ(g_traced.rfind("a CRtCircle at $", 0), 0u) << g_traced;
}

#ifdef _DEBUG
#define new DEBUG_NEW
static char THIS_FILE[] = __FILE__;
#endif

TEST(Object, DebugNewAllocatesOrdinaryMemory)
{
    CRtCircle* pCircle = new CRtCircle;
    EXPECT_EQ(pCircle->m_nRadius, 7);
    delete pCircle;
    int* pNumbers = new int[4]{1, 2, 3, 4};
    EXPECT_EQ(pNumbers[3], 4);
    delete[] pNumbers;
}
