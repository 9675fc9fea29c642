#pragma once

#include <gtest/gtest.h>

#include <string>

// Names each case of a parameterised test by the `name` field of its case.
struct CaseName {
    template <class Case> std::string operator()(const ::testing::TestParamInfo<Case>& info) const
    {
        return info.param.name;
    }
};
