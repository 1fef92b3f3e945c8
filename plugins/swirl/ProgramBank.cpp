#include "ProgramBank.h"

#include <cstring>

ProgramBank::ProgramBank(std::int32_t programCount, std::int32_t parameterCount)
    : numPrograms(programCount), numParams(parameterCount), records(new ProgramRecord[programCount]()) {
    for (std::int32_t n = 0; n < numPrograms; ++n) {
        ProgramRecord& record = records[n];
        std::memcpy(record.name, swirl::defaultProgramName, sizeof swirl::defaultProgramName);
        for (float& value : record.params) value = swirl::defaultValue;
    }
}

std::int32_t ProgramBank::bankChunkSize() const {
    return numPrograms * static_cast<std::int32_t>(sizeof(ProgramRecord));
}

std::int32_t ProgramBank::programChunkSize() const { return numParams * static_cast<std::int32_t>(sizeof(float)); }

void ProgramBank::loadBank(const void* data) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::int32_t n = 0; n < numPrograms; ++n) {
        const unsigned char* source = bytes + n * sizeof(ProgramRecord);
        // The audio thread never reads names; memmove since a host may hand
        // back the very pointer getChunk gave it.
        std::memmove(records[n].name, source + offsetof(ProgramRecord, name), sizeof records[n].name);
        loadProgram(n, source + offsetof(ProgramRecord, params));
    }
}

void ProgramBank::loadProgram(std::int32_t program, const void* data) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    float* params = records[program].params;
    for (std::int32_t i = 0; i < numParams; ++i) {
        float value;
        std::memcpy(&value, bytes + i * sizeof(float), sizeof value);
        storeParameter(params[i], value);
    }
}
