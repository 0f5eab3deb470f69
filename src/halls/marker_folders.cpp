// The marker folders under the information base directory.
#include "halls/markers.h"
#include "text/literal.h"

namespace klt::halls {

using namespace klt::text::literals;

std::string OpenOrdersFolder(const std::string& ibDirectory) {
    return ibDirectory + std::string("\\ДАННЫЕ\\ТЕКУЩИЕ_ЗАКАЗЫ"_cp);
}
std::string ClosedOrdersFolder(const std::string& ibDirectory) {
    return ibDirectory + std::string("\\ДАННЫЕ\\ЗАКРЫТЫЕ_ЗАКАЗЫ"_cp);
}
std::string ReservationsFolder(const std::string& ibDirectory) {
    return ibDirectory + std::string("\\ДАННЫЕ\\БРОНЬ_ЗАКАЗЫ"_cp);
}

}  // namespace klt::halls
