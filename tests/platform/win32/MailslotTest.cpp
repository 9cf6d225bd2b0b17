// Mailslots: a reader made with CreateMailslot, writers opened with CreateFile on its name.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const char kSlot[] = "\\\\.\\mailslot\\Test\\slot";

HANDLE OpenWriter(const char* name, DWORD disposition = OPEN_EXISTING)
{
    return CreateFile(name, GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Messages arrive whole and in order; the reader is told their sizes and count; a name's case
// does not matter for the writer.
TEST(Mailslot, MessagesArriveWholeAndInOrder)
{
    HANDLE reader = CreateMailslotA(kSlot, 0, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    HANDLE writer = OpenWriter("\\\\.\\MAILSLOT\\test\\SLOT");
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);

    DWORD next = 0, count = 7;
    ASSERT_TRUE(GetMailslotInfo(reader, nullptr, &next, &count, nullptr));
    EXPECT_EQ(next, MAILSLOT_NO_MESSAGE);
    EXPECT_EQ(count, 0u);

    const DWORD id = 0x12345678;
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writer, &id, sizeof id, &written, nullptr));
    EXPECT_EQ(written, 4u);
    ASSERT_TRUE(WriteFile(writer, "second", 6, &written, nullptr));
    ASSERT_TRUE(GetMailslotInfo(reader, nullptr, &next, &count, nullptr));
    EXPECT_EQ(next, 4u);
    EXPECT_EQ(count, 2u);

    char small[2];
    DWORD got = 0;
    EXPECT_FALSE(ReadFile(reader, small, sizeof small, &got, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    DWORD value = 0;
    ASSERT_TRUE(ReadFile(reader, &value, sizeof value, &got, nullptr));
    EXPECT_EQ(got, 4u);
    EXPECT_EQ(value, id);
    char text[64] = "";
    ASSERT_TRUE(ReadFile(reader, text, sizeof text, &got, nullptr));
    EXPECT_EQ(std::string(text, got), "second");
    // Nothing left: a read with no time-out fails at once.
    EXPECT_FALSE(ReadFile(reader, text, sizeof text, &got, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SEM_TIMEOUT));
    // Each end refuses the other's direction.
    EXPECT_FALSE(WriteFile(reader, "x", 1, &written, nullptr));
    EXPECT_FALSE(ReadFile(writer, text, sizeof text, &got, nullptr));

    CloseHandle(writer);
    CloseHandle(reader);
}

// A name has one reader at a time; a writer finds no slot without a reader (error 2), opens only
// an existing one, and writes fail once the reader has gone; the name is free again after.
TEST(Mailslot, ReaderOwnsTheName)
{
    EXPECT_EQ(OpenWriter(kSlot), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(CreateMailslotA("C:\\slot", 0, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));

    HANDLE reader = CreateMailslotA(kSlot, 8, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateMailslotA(kSlot, 0, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(OpenWriter(kSlot, CREATE_ALWAYS), INVALID_HANDLE_VALUE);

    HANDLE writer = OpenWriter(kSlot);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    DWORD written = 0, maximum = 0;
    EXPECT_FALSE(WriteFile(writer, "too long!", 9, &written, nullptr)) << "longer than the reader's maximum";
    ASSERT_TRUE(GetMailslotInfo(reader, &maximum, nullptr, nullptr, nullptr));
    EXPECT_EQ(maximum, 8u);
    CloseHandle(reader);
    EXPECT_FALSE(WriteFile(writer, "late", 4, &written, nullptr));
    CloseHandle(writer);

    HANDLE again = CreateMailslotA(kSlot, 0, 0, nullptr);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CloseHandle(again);
}

}  // namespace
