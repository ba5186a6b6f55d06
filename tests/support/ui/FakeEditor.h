// A minimal device editor and a recording main-window stand-in for tests of the editor contract.
#pragma once

#include "gui/DeviceEditor.h"
#include "model/DeviceConfig.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace tesmira::ui {
class EditorFactory;
}

namespace tesmira::test {

using Bytes = std::vector<std::uint8_t>;

// A configuration of one record of any length, taken from a reply and a file as a record is.
class FakeConfig : public DeviceConfig {
public:
    explicit FakeConfig(Bytes defaultRecord)
        : defaults(std::move(defaultRecord)), record(defaults) {}

    Bytes defaults;
    Bytes record;

    std::uint8_t Type() const override { return 0; }
    void SetDefaults() override { record = defaults; }
    ConfigLoad LoadFromReply(std::span<const std::uint8_t> reply) override;
    ConfigFrame WriteFrame(std::span<std::uint8_t> /*tx*/) const override { return {}; }
    std::vector<std::span<const std::uint8_t>> FileBlocks() const override { return {record}; }
    bool LoadFromFile(ConfigFile& reader) override;
    // One field "byte.<n>" per byte, labelled "Байт <n>", its value in decimal.
    FieldTable Fields() const override {
        FieldTable table({record});
        for (std::size_t n = 0; n < record.size(); ++n)
            table.Add("byte." + std::to_string(n), "Байт " + std::to_string(n),
                      std::to_string(record[n]), FieldPlace{0, n});
        return table;
    }
    FieldEdit SetField(std::string_view id, std::string_view) override {
        return {FieldNotSettableText(id), {}};
    }
};

// Holds a record with the given defaults, shows it by copying it to `shown` and counts what ran.
// LoadFromReply reads `reply`, which stands in for the receive buffer.
class FakeEditor : public ui::DeviceEditor {
    Q_OBJECT
public:
    FakeEditor(LinkModule& link, Bytes defaults, bool reportsClosing = false);

private:
    FakeConfig config_;

public:
    Bytes& defaults;
    Bytes& record;
    Bytes shown;
    Bytes reply;
    bool reportsClosing;
    int setDefaultsCalls = 0;
    int recordToControlsCalls = 0;
    int commitEditCalls = 0;
    int fileCommandCalls = 0;
    std::function<void()> whenClosing;

    void SetDefaults() override;
    bool LoadFromReply() override { return LoadReply(reply); }
    void WriteToDevice() override {}
    void RecordToControls() override;

    bool loadReply(const Bytes& bytes) { return LoadReply(bytes); }
    void report(ui::EditorReport code) { SendEditorReport(code); }

protected:
    void CollectControls() override { ++commitEditCalls; }
    // Nothing to collect: a check for changes is no commit.
    ConfigImage ShownImage() override { return config_.Image(); }
    void FileCommandDone() override { ++fileCommandCalls; }
    void OnClosing() override;
};

// Receives editor reports as the main window does: a closing report forgets its sender through
// the factory's Forget, when it is given one. Every report is kept for the test to read.
class RecordingReceiver : public QObject, public ui::EditorReportReceiver {
    Q_OBJECT
public:
    explicit RecordingReceiver(ui::EditorFactory* factory = nullptr) : factory_(factory) {}

    struct Report {
        ui::EditorReport code;
        ui::DeviceEditor* sender; // compare only; may have been freed since
        bool forgotEditor;
    };
    QList<Report> reports;

    void OnEditorReport(ui::EditorReport code, ui::DeviceEditor* sender) override;

private:
    ui::EditorFactory* factory_;
};

} // namespace tesmira::test
