#pragma once
// The picture corpus (tests/data/corpus) as the JPEG tests use it: its files,
// and MANIFEST.tsv with each picture's declared size and EXIF orientation.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engine/picture/Image.h"

namespace corpus {

inline std::vector<uint8_t> Bytes(const std::string& file)
{
    std::ifstream in(std::string(SNAPDISC_CORPUS_DIR) + "/" + file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Row {
    std::string file;  // e.g. "jpeg/gen_gray.jpg"
    int width = -1, height = -1;  // as the header declares; -1 for none
    int orientation = 0;          // 0 when the file has none
};

// Columns used: file (1), dims_declared "600x400" or "-" (3), exif_orientation (12).
inline std::vector<Row> Manifest()
{
    std::ifstream in(std::string(SNAPDISC_CORPUS_DIR) + "/MANIFEST.tsv");
    std::vector<Row> rows;
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, '\t');)
            fields.push_back(field);
        if (fields.size() < 12)
            continue;
        Row row{fields[0]};
        if (std::sscanf(fields[2].c_str(), "%dx%d", &row.width, &row.height) != 2)
            row.width = row.height = -1;
        row.orientation = std::atoi(fields[11].c_str());
        rows.push_back(row);
    }
    return rows;
}

inline bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

inline bool HasJpegName(const std::string& file)
{
    const size_t dot = file.rfind('.');
    return dot != std::string::npos && (file.substr(dot) == ".jpg" || file.substr(dot) == ".jpeg");
}

// Mean absolute difference per colour value; 255 when the sizes differ.
inline double MeanDifference(const Image& a, const Image& b)
{
    if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size() || a.rgb.empty())
        return 255.0;
    double sum = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i)
        sum += std::abs(int{a.rgb[i]} - int{b.rgb[i]});
    return sum / static_cast<double>(a.rgb.size());
}

}  // namespace corpus
