// Declarations of @tessel/pcsdk. Every request returns a Promise of a
// Result, or takes a callback as its last argument instead; either settles
// only inside platform.runCallbacks(). Platform errors are results (code != 0); wrong
// argument types throw TypeError before anything is sent. Texts: null and
// undefined are a null text, '' an empty one; a NUL character is refused.

/** The outcome of a call or request. */
export interface Result<T = null> {
  /** A ResultCode; 0 on success. */
  code: number;
  /** The code's name ("SUCCESS", "NOT_INITIALIZED", ..., "UNKNOWN"). */
  codeName: string;
  /** The module's operation code of the request (0 for the initialization family). */
  operation: number;
  /** "Vendra", "Panora", "Scrivo", "Ludex" for answers a module made itself; may be empty. */
  module: string;
  /** Human-readable message, never null (may be empty). */
  message: string;
  /** A 32-bit value the platform reports with the outcome; 0 unless a request says otherwise. */
  value: number;
  /** The answer's data; empty data (empty lists, '' texts, false) when the request failed. */
  data: T;
}

export type Callback<T> = (result: Result<T>) => void;
/** A popup request: the promise of its result, and of the popup's end (code 33 when it was never created). */
export type PopupRequest<T> = Promise<Result<T>> & { destroyed: Promise<Result<null>> };

export declare const ResultCode: {
  readonly SUCCESS: 0; readonly NOT_INITIALIZED: 17; readonly ALREADY_INITIALIZED: 18;
  readonly INVALID_ARGUMENT: 19; readonly BUFFER_TOO_SMALL: 20; readonly NOT_FOUND: 21;
  readonly OUT_OF_MEMORY: 22; readonly POPUP_NOT_CREATED: 33;
};
export declare const WebViewMode: { readonly EMBEDDED: 0; readonly WINDOWED: 1 };
/** 0: inside the game's window; 1: in a window of its own. */
export type WebViewModeValue = 0 | 1;
/** A 64-bit id: a number (exact up to 2^53) or a bigint. */
export type Int64 = number | bigint;

export interface WindowInfo { windowHandle?: Int64 | null; width?: number; height?: number }
export interface WindowRect { webviewMode?: WebViewModeValue; x?: number; y?: number; width?: number; height?: number }
export interface WindowOption extends WindowRect { operation?: number }

export interface Platform {
  /** Initializes the platform: first, before any module. */
  initialize(gameId?: string | null): Result;
  /** Uninitializes the platform: pending requests settle once, with code 17. Also from a callback. Outside the pump, rethrows the first error a callback threw while they settled. */
  uninitialize(): Result;
  /** Runs the callbacks that are due, on this thread: call it once per frame. Returns how many ran. Rethrows the first error a callback threw, after all ran. */
  runCallbacks(): number;
  resultCodeName(code: number): string;
  /** Requests waiting for their answer. */
  pendingCount(): number;
  /** Answers that found no request (late, or of an environment that ended): ignored and counted. */
  strayAnswers(): number;
  /** Opt-in: pumps every intervalMs (16 by default) for tools and tests; keeps the process alive only while requests wait. */
  startAutoPump(intervalMs?: number): void;
  stopAutoPump(): void;
}

export interface ShopCategory { categoryId: string; parentCategoryId: string; displayNumber: number; name: string; depth: number }
export interface Product {
  productId: number; gameItemId: string; name: string; description: string; quantity: number; productTypeCode: number;
  categoryId: string; categoryName: string; currencyCode: string; price: number; displayPrice: number;
  displayPriceString: string; salePrice: number; displaySalePrice: number; displaySalePriceString: string;
  isDiscount: boolean; discountType: number; discountTypeValue: number; discountBeginDate: number; discountEndDate: number;
  totalQuantity: number; memberQuantity: number; guidQuantity: number; thumbnailUrl: string; canWithdraw: boolean;
  purchasedAtLeastOnce: boolean; purchaseLimitTypeCode: number; purchaseLimitCount: number; saleLimitCount: number;
  saleBeginDate: number; saleEndDate: number;
}
export interface ProductEx extends Product { purchaseAvailabilityCode: number }
export interface PurchasedProduct {
  transactionDetailNumber: number; productId: number; categoryId: string; totalQuantity: number; memberQuantity: number; guidQuantity: number;
}
export interface ChargeInfo { chargeDeductVal: number; chargeDisplayDeductVal: number; chargeType: number; chargeTypeName: string }
export interface PurchaseResult {
  transactionMasterNumber: number; transactionDetailNumbers: number[]; oneTimePaymentUrl: string; purchaseProgress: number;
  isPurchased: boolean; extraData: string; purchasedProducts: PurchasedProduct[]; chargeInfos: ChargeInfo[];
}
export interface Confirmation { confirmed: boolean; purchasedProducts: PurchasedProduct[]; chargeInfos: ChargeInfo[] }
export interface InventoryItem {
  transactionMasterNumber: number; transactionDetailNumber: number; productId: number; gameItemId: string;
  productName: string; quantity: number; thumbnailUrl: string;
}
export interface TermsAgreement { agreed: boolean; terms: string }
export interface VoidedPurchase {
  tid: number; marketCode: string; productId: string; marketProductId: string; userId: string; characterNo: number;
  purchaseMillis: number; voidedMillis: number;
}
export interface Withdrawal { withdrawn: boolean }
export interface FetchProductParam { categoryId?: string | null; pageNumber?: number; pageSize?: number }
export interface OrderProduct { productId: Int64; salePrice?: number; quantity?: number }
export interface StartPurchaseParam {
  orderProducts?: OrderProduct[] | null; purchaseOption?: WindowOption | null; serviceTxnNo?: string | null; extraData?: string | null;
}

export interface Vendra {
  initialize(storeId?: string | null): Result;
  initializeWithWndInfo(storeId?: string | null, windowInfo?: WindowInfo | null): Result;
  uninitialize(): Result;
  getVersion(): Result<string | null>;
  fetchShopCategories(): Promise<Result<ShopCategory[]>>;
  fetchShopCategories(callback: Callback<ShopCategory[]>): void;
  fetchProducts(param?: FetchProductParam | null): Promise<Result<Product[]>>;
  fetchProducts(param: FetchProductParam | null | undefined, callback: Callback<Product[]>): void;
  fetchProductsEx(param?: FetchProductParam | null): Promise<Result<ProductEx[]>>;
  fetchProductsEx(param: FetchProductParam | null | undefined, callback: Callback<ProductEx[]>): void;
  startPurchase(param: StartPurchaseParam | null): Promise<Result<PurchaseResult>>;
  startPurchase(param: StartPurchaseParam | null, callback: Callback<PurchaseResult>): void;
  startPurchaseEx(param: StartPurchaseParam | null): PopupRequest<PurchaseResult>;
  startPurchaseEx(param: StartPurchaseParam | null, callback: Callback<PurchaseResult>, onDestroy?: Callback<null>): void;
  confirmPurchase(transactionMasterNumber: Int64): Promise<Result<Confirmation>>;
  confirmPurchase(transactionMasterNumber: Int64, callback: Callback<Confirmation>): void;
  startPayment(option?: WindowOption | null): Promise<Result<string>>;
  startPayment(option: WindowOption | null | undefined, callback: Callback<string>): void;
  startPaymentEx(option?: WindowOption | null): PopupRequest<string>;
  startPaymentEx(option: WindowOption | null | undefined, callback: Callback<string>, onDestroy?: Callback<null>): void;
  fetchInventory(): Promise<Result<InventoryItem[]>>;
  fetchInventory(callback: Callback<InventoryItem[]>): void;
  fetchTermsAgreement(option?: WindowOption | null): Promise<Result<TermsAgreement>>;
  fetchTermsAgreement(option: WindowOption | null | undefined, callback: Callback<TermsAgreement>): void;
  fetchTermsAgreementEx(option?: WindowOption | null): PopupRequest<TermsAgreement>;
  fetchTermsAgreementEx(option: WindowOption | null | undefined, callback: Callback<TermsAgreement>, onDestroy?: Callback<null>): void;
  fetchVoidedPurchases(): Promise<Result<VoidedPurchase[]>>;
  fetchVoidedPurchases(callback: Callback<VoidedPurchase[]>): void;
  withdrawGame(option?: WindowRect | null): PopupRequest<Withdrawal>;
  withdrawGame(option: WindowRect | null | undefined, callback: Callback<Withdrawal>, onDestroy?: Callback<null>): void;
  closeAllPopups(): Result;
}

export interface StringPair { first: string; second: string }
/** One popup of a fetched list; the platform's fields, passed through unchanged. */
export interface Popup {
  text1: string; text2: string; number1: number; text3: string; byte1: number; byte2: number; byte3: number; byte4: number;
  byte5: number; byte6: number; byte7: number; number2: number; pair1: StringPair; pair2: StringPair;
  number3: number; number4: number; number5: number; number6: number;
}
export interface PopupList { popups: Popup[]; requestData: { pairs1: StringPair[]; pairs2: StringPair[] } }

export interface Panora {
  initialize(): Result;
  initializeWithWndInfo(windowInfo?: WindowInfo | null): Result;
  uninitialize(): Result;
  getVersion(): Result<string | null>;
  autoPopup(mode: WebViewModeValue): Promise<Result>;
  autoPopup(mode: WebViewModeValue, callback: Callback<null>): void;
  autoPopupEx(mode: WebViewModeValue): PopupRequest<null>;
  autoPopupEx(mode: WebViewModeValue, callback: Callback<null>, onDestroy?: Callback<null>): void;
  manualPopup(key: string | null, mode: WebViewModeValue): Promise<Result>;
  manualPopup(key: string | null, mode: WebViewModeValue, callback: Callback<null>): void;
  manualPopupEx(key: string | null, mode: WebViewModeValue): PopupRequest<null>;
  manualPopupEx(key: string | null, mode: WebViewModeValue, callback: Callback<null>, onDestroy?: Callback<null>): void;
  newsPopup(mode: WebViewModeValue): Promise<Result>;
  newsPopup(mode: WebViewModeValue, callback: Callback<null>): void;
  newsPopupEx(mode: WebViewModeValue): PopupRequest<null>;
  newsPopupEx(mode: WebViewModeValue, callback: Callback<null>, onDestroy?: Callback<null>): void;
  couponPopup(mode: WebViewModeValue): Promise<Result>;
  couponPopup(mode: WebViewModeValue, callback: Callback<null>): void;
  couponPopupEx(mode: WebViewModeValue): PopupRequest<null>;
  couponPopupEx(mode: WebViewModeValue, callback: Callback<null>, onDestroy?: Callback<null>): void;
  /** The promise of the result, with the promise of the verification value as `value`. */
  verifyIdentificationPopup(flag: boolean, mode: WebViewModeValue): Promise<Result> & { value: Promise<Result<string>> };
  verifyIdentificationPopup(flag: boolean, mode: WebViewModeValue, callback: Callback<null>, onValue?: Callback<string>): void;
  /** List fetches of one kind are sent one at a time, in order. */
  fetchAutoPopup(): Promise<Result<PopupList>>;
  fetchAutoPopup(callback: Callback<PopupList>): void;
  fetchManualPopup(key: string | null): Promise<Result<PopupList>>;
  fetchManualPopup(key: string | null, callback: Callback<PopupList>): void;
  fetchNewsPopup(): Promise<Result<PopupList>>;
  fetchNewsPopup(callback: Callback<PopupList>): void;
  fetchCouponPopup(): Promise<Result<PopupList>>;
  fetchCouponPopup(callback: Callback<PopupList>): void;
  setPopupDisallowed(params: { popupId?: number; days?: number } | null): Promise<Result>;
  setPopupDisallowed(params: { popupId: number; days?: number } | null | undefined, callback: Callback<null>): void;
  fetchWebOpenKey(): Promise<Result<string>>;
  fetchWebOpenKey(callback: Callback<string>): void;
  closeAllPopups(): Result;
}

export interface LogSendParam {
  auid?: Int64; cuid?: Int64; mktType1?: string | null; mktId1?: string | null; mktType2?: string | null; mktId2?: string | null;
  gameVersion?: string | null; logGroupId?: string | null; serverCd?: string | null; serverCdDet?: string | null;
  lvCd?: string | null; lvCdDet?: string | null; contents?: string | null;
}
export interface Scrivo {
  initialize(): Result;
  uninitialize(): Result;
  getVersion(): Result<string | null>;
  send(param?: LogSendParam | null): Promise<Result>;
  send(param: LogSendParam | null | undefined, callback: Callback<null>): void;
}

export interface Ludex {
  initialize(): Result;
  uninitialize(): Result;
  getVersion(): Result<string | null>;
  /** The character text (JSON in the sandbox); '' when the request failed. */
  fetchCharacter(characterId: string | null, serverId: string | null): Promise<Result<string>>;
  fetchCharacter(characterId: string | null, serverId: string | null, callback: Callback<string>): void;
}

export declare const platform: Platform;
export declare const vendra: Vendra;
export declare const panora: Panora;
export declare const scrivo: Scrivo;
export declare const ludex: Ludex;
