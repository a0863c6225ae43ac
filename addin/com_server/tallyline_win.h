// CTallyline, the one creatable class of the add-in. The host drives it only through
// IDispatch::Invoke with the dispatch ids of ITallyline, served from the module's type library.
#pragma once

#include <ocidl.h>
#include <windows.h>
#include <wrl/client.h>

#include "addin/com_server/dll_tool_services_win.h"
#include "addin/tool/tool_object.h"
#include "framework/code_page_win.h"
#include "tallyline.h"

class CTallyline final : public ITallyline, public IProvideClassInfo, public ISupportErrorInfo {
 public:
  // Creates an object (aggregated when outer is given) and returns its interface riid.
  static HRESULT Create(IUnknown* outer, REFIID riid, void** ppv);

  // IUnknown: delegates to the controlling unknown (the outer one when aggregated).
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch, from the type library.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** typeInfo) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* excepInfo, UINT* argError) override;

  // ITallyline
  STDMETHODIMP get_ClassID(BSTR* pVal) override;
  STDMETHODIMP get_Description(BSTR* pVal) override;
  STDMETHODIMP GetToolInfo(VARIANT* CommandNames, VARIANT* MenuCaptions, VARIANT* StatusPrompts, VARIANT* ToolTips,
                           VARIANT* Enabled, VARIANT* WantsUpdates, LONG* pVal) override;
  STDMETHODIMP CopyBitmap(VARIANT_BOOL LargeButtons, VARIANT_BOOL Monochrome, VARIANT_BOOL* pVal) override;
  STDMETHODIMP GetPicture(VARIANT_BOOL LargeButtons, VARIANT_BOOL Monochrome, IDispatch** pVal) override;
  STDMETHODIMP Run(IDispatch* ThisTool, VARIANT_BOOL* pVal) override;
  STDMETHODIMP UpdateToolStatus(IDispatch* ThisTool, VARIANT_BOOL* Enabled, VARIANT_BOOL* Checked,
                                VARIANT_BOOL* pVal) override;
  STDMETHODIMP Initialize(IDispatch* ThisTool, VARIANT_BOOL* pVal) override;
  STDMETHODIMP Terminate(IDispatch* ThisTool) override;
  STDMETHODIMP GetLMPicture(IDispatch** pVal) override;
  STDMETHODIMP DoLMCommand(LONG CmdIndex) override;
  STDMETHODIMP BeforeExit(IDispatch* TheApp, VARIANT_BOOL* Cancel) override;
  STDMETHODIMP DrawingNew(IDispatch* WhichDrawing) override;
  STDMETHODIMP DrawingOpen(IDispatch* WhichDrawing) override;
  STDMETHODIMP DrawingActivate(IDispatch* WhichDrawing) override;
  STDMETHODIMP DrawingDeactivate(IDispatch* WhichDrawing) override;
  STDMETHODIMP DrawingBeforeClose(IDispatch* WhichDrawing, VARIANT_BOOL* Cancel) override;
  STDMETHODIMP DrawingBeforeSave(IDispatch* WhichDrawing, VARIANT_BOOL* SaveAs, VARIANT_BOOL* Cancel) override;
  STDMETHODIMP MouseDown(IDispatch* WhichDrawing, IDispatch* WhichView, IDispatch* WhichWindow, short Button,
                         LONG Shift, LONG X, LONG Y, VARIANT_BOOL* Cancel) override;
  STDMETHODIMP SelectionChange(IDispatch* WhichDrawing, IDispatch* WhichView, IDispatch* WhichWindow,
                               IDispatch* Sel) override;
  STDMETHODIMP RunTool(IDispatch* WhichTool) override;

  // IProvideClassInfo
  STDMETHODIMP GetClassInfo(ITypeInfo** typeInfo) override;

  // ISupportErrorInfo
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;

 private:
  // The non-delegating unknown that owns the reference count and answers QueryInterface.
  class Inner final : public IUnknown {
   public:
    explicit Inner(CTallyline* owner) : owner_(owner) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

   private:
    CTallyline* owner_;
  };

  // Holds a reference to the object for the length of one method.
  class KeepAlive {
   public:
    explicit KeepAlive(CTallyline* object) : unknown_(object->controllingUnknown_) { unknown_->AddRef(); }
    ~KeepAlive() { unknown_->Release(); }  // may delete the object: nothing of it is used after
    KeepAlive(const KeepAlive&) = delete;
    KeepAlive& operator=(const KeepAlive&) = delete;

   private:
    IUnknown* unknown_;
  };

  explicit CTallyline(IUnknown* outer);
  ~CTallyline();
  HRESULT LoadTypeInfo();
  HRESULT Dispatch(DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                   UINT* argError);
  // The host objects passed as arguments, as the core sees them. A tool object that does not
  // answer for IHostTool gives that failure from each of its operations.
  HostRef<HostTool> AdaptTool(IDispatch* thisTool);
  IDispatch* Self() { return static_cast<ITallyline*>(this); }

  Inner inner_;
  IUnknown* controllingUnknown_;  // not owned
  ULONG refs_ = 1;
  Microsoft::WRL::ComPtr<ITypeLib> typeLib_;
  Microsoft::WRL::ComPtr<ITypeInfo> typeInfo_;
  AnsiCodePage codePage_;
  DllToolServices services_{codePage_};
  ToolObject tool_{services_, codePage_};
};
